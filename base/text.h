// Text helpers shared by the engine: UTF-8 <-> UTF-16, bounded paths, printf-style formatting.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

// Paths hold at most this many UTF-16 units including the terminator.
constexpr size_t kMaxPath = 260;
// Titles and message texts hold at most this many UTF-16 units.
constexpr size_t kMaxMessage = 640;

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
// Number of UTF-16 units the UTF-8 text becomes.
size_t Utf16Length(const std::string& text);
// Cuts UTF-8 text to at most `units` UTF-16 units without splitting a character.
std::string CutToUtf16Units(const std::string& text, size_t units);
// True when the path fits a 260-character path buffer with its terminator.
bool PathFits(const std::string& path);

// printf into a std::string.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FormatTextV(const char* format, va_list args);

// ASCII case folding; other bytes (UTF-8 sequences among them) stay as they are.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text without the trailing characters of `chars`: by default blanks and line ends,
// which typed and pasted paths, command lines and list files often bring.
std::string TrimEnd(std::string text, const char* chars = " \r\n");

// A path separator: the backslash, and the slash that Windows accepts as well.
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
// Offset of the file-name part (after the last separator or drive colon).
size_t FileNameOffset(const std::string& path);
// The folder part including its final separator ("" when there is none).
std::string FolderOf(const std::string& path);
// The path without the extension of its file-name part. A dot in a folder name is not an
// extension: "C:\my.pics\photo" keeps its whole name.
std::string CutExtension(const std::string& path);
// Folder + name, with a separator only when the folder does not end with one.
std::string JoinPath(const std::string& folder, const std::string& name);

// Windows wildcard match without regard to ASCII case: "*" any run, "?" one character,
// and a final "*." only names without a dot.
bool WildcardMatch(const char* pattern, const char* name);

// A comment's bytes as one line of text: a carriage return and a line feed become one
// blank each (a line feed right after a carriage return none), a backslash is doubled,
// printable ASCII stays and any other byte becomes a backslash and three octal digits.
std::string EscapeCommentBytes(const std::string& bytes);
// The bytes of text in that form: a doubled backslash is one backslash, a backslash and
// three octal digits (up to 377) is that byte, everything else is taken as it stands.
std::string UnescapeCommentText(const std::string& text);
