// The reading of terminal control sequences (ECMA-48), shared by both cleaners.

namespace tarnwick::terminal {

inline constexpr char escape = '\x1b';

// The first and second numeric parameters of a CSI; a private list (beginning with "?", "=",
// "<" or ">") has none. Values are capped, which no move or count of a real line reaches.
struct Parameters {
    bool isPrivate = false;
    std::int64_t first = 0;
    std::int64_t second = 0;
};

Parameters parseParameters(std::string_view text);

// The effect of the CSI with these parameters and final character, when it has one.
bool csiControl(const Parameters &parameters, char final, Control &control);

} // namespace tarnwick::terminal

namespace tarnwick {

template <class Sink>
void readTerminalLine(std::string_view line, CharacterRule rule, Sink &sink)
{
    using namespace terminal;
    const std::size_t size = line.size();
    const auto at = [&](std::size_t pos) { return static_cast<unsigned char>(line[pos]); };
    // The end of a string (OSC, DCS, SOS, PM, APC): BEL or ESC "\" where allowed, else the line's end.
    const auto skipString = [&](std::size_t pos, bool belEnds) {
        for (; pos < size; ++pos) {
            if (belEnds && line[pos] == '\a')
                return pos + 1;
            if (line[pos] == escape && pos + 1 < size && line[pos + 1] == '\\')
                return pos + 2;
        }
        return size;
    };
    for (std::size_t pos = 0; pos < size;) {
        const unsigned char byte = at(pos);
        if (byte == '\b') {
            sink.backspace();
            ++pos;
            continue;
        }
        if (byte != escape && isControlByte(line[pos])) {
            ++pos;
            continue;
        }
        if (byte != escape) {
            const std::size_t length = characterLength(rule, line, pos);
            sink.character(characterCode(line, pos, length));
            pos += length;
            continue;
        }
        // A sequence. What cannot continue it ends it and is read again as itself.
        if (pos + 1 >= size)
            return; // an ESC at the end of the line runs to its end
        const char kind = line[pos + 1];
        if (kind == '[') {
            std::size_t end = pos + 2;
            while (end < size && at(end) >= 0x30 && at(end) <= 0x3F)
                ++end;
            const std::size_t parametersEnd = end;
            while (end < size && at(end) >= 0x20 && at(end) <= 0x2F)
                ++end;
            if (end < size && at(end) >= 0x40 && at(end) <= 0x7E) {
                Control control{};
                if (end == parametersEnd
                    && csiControl(parseParameters(line.substr(pos + 2, parametersEnd - pos - 2)), line[end], control))
                    sink.control(control);
                ++end;
            }
            pos = end;
        } else if (kind == ']') {
            pos = skipString(pos + 2, true);
        } else if (kind == 'P' || kind == 'X' || kind == '^' || kind == '_') {
            pos = skipString(pos + 2, false);
        } else {
            std::size_t end = pos + 1;
            while (end < size && at(end) >= 0x20 && at(end) <= 0x2F)
                ++end;
            if (end < size && at(end) >= 0x30 && at(end) <= 0x7E)
                ++end;
            pos = end;
        }
    }
}

} // namespace tarnwick
