// The reading of terminal control sequences (ECMA-48), shared by both cleaners.

namespace tarnwick::terminal {

inline constexpr char escape = '\x1b';

inline constexpr unsigned char cancel = 0x18;     // CAN
inline constexpr unsigned char substitute = 0x1A; // SUB
inline constexpr unsigned char shiftOut = 0x0E;   // SO: G1 in use
inline constexpr unsigned char shiftIn = 0x0F;    // SI: G0 in use

// The parameters of a CSI as its bytes come (0x20 to 0x3F), and its effect at the final
// character. Only the first two numeric parameters count; a CSI with a private marker ("<",
// "=", ">", "?"), a sub-parameter (":") or an intermediate does nothing. Values are capped,
// which no move or count of a real line reaches.
class CsiReader {
public:
    void take(char c);
    // The effect of the CSI ended by `final`, when it has one.
    bool control(char final, Control &control) const;

private:
    bool ignored_ = false;
    int index_ = 0;
    std::int64_t values_[2] = {};
};

// The escapes that move the cursor from row to row: IND, NEL and RI, by their final.
inline bool screenEscape(char final, Control &control)
{
    switch (final) {
    case 'D': control = {Control::Kind::Index, 1}; return true;
    case 'E': control = {Control::Kind::NewLine, 1}; return true;
    case 'M': control = {Control::Kind::ReverseIndex, 1}; return true;
    default: return false;
    }
}

} // namespace tarnwick::terminal

namespace tarnwick {

// Apart from the reading's loop, where it would keep the sink's character() from being inlined
// in the loop's hot path; REP is rare.
template <class Sink>
[[gnu::noinline]] void repeatCharacter(Sink &sink, std::uint32_t code, int columns, std::int64_t count)
{
    for (; count > 0; --count)
        sink.character(code, columns);
}

template <class Sink>
bool readTerminalLine(const LineCharacters &characters, Sink &sink)
{
    using namespace terminal;
    // The states of a DEC VT500-style parser, as far as a line's text is concerned.
    enum class State { Ground, Escape, Csi, String };
    State state = State::Ground;
    bool escapeIntermediate = false; // an intermediate came after the ESC: "[" is then a final
    char designating = 0;            // the intermediate was "(" or ")", alone so far: G0 or G1
    bool osc = false;                // the string is an OSC, which BEL ends
    // Which of G0 and G1 is DEC Special Graphics (line drawing), and which one is in use (SO
    // and SI shift): ASCII in both at the start of the line.
    bool lineDrawing[2] = {false, false};
    int shift = 0;
    bool drew = false;
    CsiReader csi;
    const std::string_view line = characters.bytes();
    const std::size_t size = line.size();
    // The line's character that the reading comes to next, and where it begins. A byte read on
    // its own is a character of its own, or a part of one inside a string, which only bytes
    // that are never part of a character end: so a character read whole is one of the line's.
    std::size_t next = 0;
    std::size_t nextStart = 0;
    // The character written last, which a REP repeats when it follows it directly (as tmux
    // has it: any control or sequence between ends that); repeats are limited to the line's own
    // number of characters, and some, so that a line grows no more than that.
    std::uint32_t lastCode = 0;
    int lastColumns = 1;
    std::size_t lastEnd = std::string_view::npos; // where the bytes after it begin
    std::size_t escapeStart = 0;                  // where the sequence read begins
    auto repeatsLeft = static_cast<std::int64_t>(characters.count()) + 256;
    for (std::size_t pos = 0; pos < size;) {
        const auto byte = static_cast<unsigned char>(line[pos]);
        // What acts in every state: ESC begins an escape, CAN and SUB end any sequence.
        if (byte == escape) {
            state = State::Escape;
            escapeIntermediate = false;
            designating = 0;
            escapeStart = pos;
            ++pos;
            continue;
        }
        if (byte == cancel || byte == substitute) {
            state = State::Ground;
            ++pos;
            continue;
        }
        if (state == State::String) {
            if (osc && byte == '\a')
                state = State::Ground;
            ++pos;
            continue;
        }
        // A C0 control inside an escape or CSI acts as outside, and the sequence goes on.
        if (byte == '\b') {
            sink.backspace();
            ++pos;
            continue;
        }
        // A carriage return (which the normalising pass leaves as it is after an ESC, see
        // LineEndNormaliser) and a tab; like any control they end what a REP repeats.
        if (byte == '\r' || byte == '\t') {
            sink.control({byte == '\r' ? Control::Kind::Column : Control::Kind::Tab, 1});
            lastEnd = std::string_view::npos;
            ++pos;
            continue;
        }
        if (byte == shiftOut || byte == shiftIn) {
            shift = byte == shiftOut ? 1 : 0;
            lastEnd = std::string_view::npos;
            ++pos;
            continue;
        }
        // Dropped; inside a sequence every other C0 control and DEL is ignored too.
        if (isControlByte(line[pos]) || (state != State::Ground && (byte < 0x20 || byte == 0x7F))) {
            ++pos;
            continue;
        }
        if (byte > 0x7F && state == State::Csi)
            state = State::Ground; // a character ends a CSI and is written
        // A string ended above; what is left is the ground, an escape or a CSI.
        if (state == State::Ground || byte > 0x7F) {
            while (nextStart < pos)
                nextStart += characters.length(next++);
            const std::size_t length = characters.length(next);
            // After an ESC a character shows nothing and the escape goes on, as a terminal
            // reads its bytes; so does a C1 control written in UTF-8 (U+0080 to U+009F).
            if (state == State::Ground && !(length == 2 && isC1Control(line, pos))) {
                const std::uint32_t code = characterCode(line, pos, length);
                const int columns = characters.columns(next);
                if (columns == 0) {
                    sink.combine(code);
                    lastEnd = std::string_view::npos; // a REP repeats no mark
                } else {
                    lastCode = lineDrawing[shift] ? lineDrawingCode(code, characters.rule()) : code;
                    drew = drew || lastCode != code;
                    lastColumns = columns;
                    sink.character(lastCode, lastColumns);
                    lastEnd = pos + length;
                }
            }
            pos += length;
            continue;
        }
        if (state == State::Escape) {
            if (!escapeIntermediate && byte == '[') {
                state = State::Csi;
                csi = {};
            } else if (!escapeIntermediate && (byte == ']' || byte == 'P' || byte == 'X' || byte == '^' || byte == '_')) {
                state = State::String;
                osc = byte == ']';
            } else if (byte <= 0x2F) {
                designating = !escapeIntermediate && (byte == '(' || byte == ')') ? static_cast<char>(byte) : 0;
                escapeIntermediate = true;
            } else if (!escapeIntermediate && (byte == '7' || byte == '8')) {
                sink.control({byte == '7' ? Control::Kind::SaveCursor : Control::Kind::RestoreCursor, 0});
                state = State::Ground;
            } else if (Control moves{}; !escapeIntermediate && screenEscape(static_cast<char>(byte), moves)) {
                sink.control(moves);
                state = State::Ground;
            } else {
                // The final; what shows, only a designation of line drawing or of ASCII.
                if (designating && (byte == '0' || byte == 'B'))
                    lineDrawing[designating == ')' ? 1 : 0] = byte == '0';
                state = State::Ground;
            }
        } else if (byte >= 0x40) {
            Control control{};
            if (csi.control(static_cast<char>(byte), control) && control.kind != Control::Kind::Repeat) {
                sink.control(control);
            } else if (control.kind == Control::Kind::Repeat && escapeStart == lastEnd) {
                repeatCharacter(sink, lastCode, lastColumns, std::min(control.n, repeatsLeft));
                repeatsLeft -= std::min(control.n, repeatsLeft);
                lastEnd = pos + 1;
            }
            state = State::Ground;
        } else {
            csi.take(static_cast<char>(byte));
        }
        ++pos;
    }
    return drew;
}

} // namespace tarnwick
