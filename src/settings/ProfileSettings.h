#pragma once

#include <QString>
#include <QStringList>

// The settings kept in the profile file, section "Tarnwick". The window holds a mirror
// of each; these functions keep a mirror and the file in step.
namespace tarnwick::settings {

inline const QString overWriteKey = QStringLiteral("OverWrite");
inline const QString scrollKey = QStringLiteral("Scroll");
inline const QString fileExtKey = QStringLiteral("FileExt");
inline const QString controlsKey = QStringLiteral("Controls");
inline const QString keepDotsKey = QStringLiteral("KeepDots");
inline const QString encodingKey = QStringLiteral("Encoding"); // "Auto", "System", "UTF-8" or "Shift_JIS"
inline const QString pagerKeyStem = QStringLiteral("Pager"); // "Pager1", "Pager2", ...: the user's pager prompts
inline constexpr int mostPagerPrompts = 100;
inline const QString maskKey = QStringLiteral("Mask");
inline const QString secretKeyStem = QStringLiteral("Secret"); // "Secret1", "Secret2", ...: the user's shapes of secrets
inline constexpr int mostSecretShapes = 100;
inline const QString timestampKeyStem = QStringLiteral("Timestamp"); // "Timestamp1", ...: the user's forms of timestamps
inline constexpr int mostTimestamps = 100;
inline const QString screenRowsKey = QStringLiteral("ScreenRows"); // the screen's height, with the controls setting
inline const QString logExtensionsKey = QStringLiteral("LogExtensions"); // a folder's logs: the extensions, blank-separated
inline const QString recursiveKey = QStringLiteral("Recursive"); // a folder's subfolders' logs too
inline const QString outputFolderKey = QStringLiteral("OutputFolder"); // where the outputs go; empty: beside each log
inline const QString lastFolderKey = QStringLiteral("LastFolder"); // of the last log chosen in the open-file dialog

// The output extension where the profile holds none: at a first start, and in a profile that
// keeps only the settings changed so far (the first change writes one key). An empty value is
// the user's own, kept as it is.
inline const QString defaultFileExt = QStringLiteral("txt");
// The extensions of a folder's logs where the profile holds none.
inline const QString defaultLogExtensions = QStringLiteral("log txt");

// The settings of a run as the profile holds them: the window's mirrors are loaded from them, and
// a run without the window takes them under the command line's.
struct StoredSettings {
    // A stored switch is on exactly when its value, in upper case, is "TRUE".
    bool overWrite = false;
    bool scroll = false;
    bool controls = false;
    bool keepDots = false;
    bool mask = false;
    bool recursive = false;
    QString fileExt;          // defaultFileExt where the profile has no such key
    QString encoding;         // as stored
    QString screenRows;       // as stored
    QStringList pagerPrompts; // "Pager1" up to the first that is missing or empty
    QStringList secretShapes; // "Secret1" likewise
    QStringList timestamps;   // "Timestamp1" likewise
    QStringList logExtensions; // defaultLogExtensions where the profile has no such key
    QString outputFolder;
};
StoredSettings readStoredSettings(const QString &iniFile);

QString readText(const QString &iniFile, const QString &key, const QString &missing = {});

// When the control and its mirror disagree, the mirror takes the control's state and the
// setting is written at once ("TRUE"/"FALSE", or the text). Otherwise nothing happens.
void keepSwitch(bool checked, bool &mirror, const QString &iniFile, const QString &key);
void keepText(const QString &text, QString &mirror, const QString &iniFile, const QString &key);

} // namespace tarnwick::settings
