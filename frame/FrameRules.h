// The frame's small rules that need no window: the shortened project path of the status bar,
// database sizes in megabytes and their wording, the compaction file's name and gain, the
// credits line of the about window, the language of a locale, and where the start window
// places its parts. Kept apart from the windows so that they can be checked on their own.
#pragma once

#include <QString>
#include <cstdint>

namespace vnt {

inline constexpr const char *PROGRAMMTITEL = "VANT";     // names databases, help file, documents
inline constexpr const char *PRODUKTNAME = "Vantrel";
inline constexpr const char *FAMILIENNAME = "Korvane";

// Panel 1: the project path cut at folder boundaries to at most 20 characters, with " ... "
// in front. A last folder name too long to fit leaves nothing to cut at: the path is then
// shown whole rather than cut in the middle of a name.
QString shortenedProjectPath(const QString &path);

// File size in megabytes of 1,000,000 bytes, rounded to one decimal, single precision.
float sizeInMegabytes(int64_t bytes);
// At most one decimal, no trailing zero, the locale's decimal sign.
QString megabytesText(float megabytes, const QString &decimalSign);

// The compaction file beside the working database: its own name without ".mdb" + "TEMP.mdb".
// Only the file name is looked at, so a ".mdb" in a folder name does not move the file.
QString compactionFilePath(const QString &workingDatabase);
// The lock of the run beside the working database. Its name does not begin with the working
// database's, so that it is never taken for one of the database's own companion files.
QString runLockPath(const QString &workingDatabase);
// Gain in percent, one decimal. A size that rounds to 0.0 MB would divide by zero: the
// exact byte counts give the gain then.
float compactionGain(float megabytesBefore, float megabytesAfter, int64_t bytesBefore, int64_t bytesAfter);

// Credits longer than 50 characters are cut after the first comma at or after character 50.
QString shortenedCredits(const QString &credits);

// 1 English for the ISO 639 name "en", 3 German for "de" and for anything else.
int languageCodeFor(const QString &iso639);

// Where the start window puts its parts, in twips, for a client area of W x H twips.
struct AutostartLayout {
    float fraLeft = 0, fraWidth = 0;
    float logoTop = 0, logoLeft = 0, logoHeight = 0;
    float titleLeft = 0, titleTop = 0;
    float subtitleLeft = 0, subtitleTop = 0;
    float photoLeft = 0, photoTop = 0;
    float versionLeft = 0, versionTop = 0;
    float barLeft = 0, barTop = 0, barWidth = 0;
};
struct AutostartSizes {
    float fraHeight = 1710;
    float logoWidth = 1500;
    float titleWidth = 0, titleHeight = 0;
    float subtitleWidth = 0, subtitleHeight = 0;
    float photoWidth = 3390, photoHeight = 4080;
    float versionTextHeight = 0;   // the release line measured in the window's font
    float barHeight = 300;
};
AutostartLayout autostartLayout(float W, float H, const AutostartSizes &s);

inline constexpr int TWIPS_PER_PIXEL = 15;   // 1440 twips per inch at 96 dots per inch

} // namespace vnt
