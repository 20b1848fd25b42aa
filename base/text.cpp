#include "base/text.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Decodes one code point from UTF-8; malformed input yields U+FFFD and advances one byte.
char32_t DecodeUtf8(const std::string& s, size_t* i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(*i);
    if (c < 0x80) {
        ++*i;
        return c;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
        minimum = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
        minimum = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
        minimum = 0x10000;
    } else {
        ++*i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        if (*i + k >= s.size() || (byte(*i + k) & 0xC0) != 0x80) {
            ++*i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (byte(*i + k) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++*i;
        return 0xFFFD;
    }
    *i += extra + 1;
    return cp;
}

void AppendUtf8(std::string* out, char32_t cp) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp = DecodeUtf8(text, &i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(&out, c);
    }
    return out;
}

size_t Utf16Length(const std::string& text) {
    size_t units = 0;
    size_t i = 0;
    while (i < text.size()) units += DecodeUtf8(text, &i) >= 0x10000 ? 2 : 1;
    return units;
}

std::string CutToUtf16Units(const std::string& text, size_t units) {
    size_t used = 0;
    size_t i = 0;
    while (i < text.size()) {
        size_t before = i;
        size_t need = DecodeUtf8(text, &i) >= 0x10000 ? 2 : 1;
        if (used + need > units) return text.substr(0, before);
        used += need;
    }
    return text;
}

bool PathFits(const std::string& path) { return Utf16Length(path) < kMaxPath; }

std::string FormatTextV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[512];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string s = FormatTextV(format, args);
    va_end(args);
    return s;
}

size_t FileNameOffset(const std::string& path) {
    size_t pos = path.find_last_of("\\/:");
    return pos == std::string::npos ? 0 : pos + 1;
}

std::string FolderOf(const std::string& path) { return path.substr(0, FileNameOffset(path)); }

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsPathSeparator(folder.back())) return folder + name;
    // Keep the separator style of the folder: a POSIX folder gets '/', anything else '\'.
    char sep = folder.find('\\') == std::string::npos && folder.find(':') == std::string::npos &&
                       folder.front() == '/'
                   ? '/'
                   : '\\';
    return folder + sep + name;
}

std::string TrimEnd(std::string text, const char* chars) {
    while (!text.empty() && std::strchr(chars, text.back()) != nullptr && text.back() != '\0') text.pop_back();
    return text;
}

std::string CutExtension(const std::string& path) {
    size_t name = FileNameOffset(path);
    size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < name ? path : path.substr(0, dot);
}

bool WildcardMatch(const char* p, const char* s) {
    if (*p == '\0') return *s == '\0';
    if (p[0] == '*' && p[1] == '.' && p[2] == '\0') return std::strchr(s, '.') == nullptr;
    if (*p == '*') {
        for (const char* t = s;; ++t) {
            if (WildcardMatch(p + 1, t)) return true;
            if (*t == '\0') return false;
        }
    }
    if (*s == '\0') return false;
    if (*p == '?' || AsciiLower(*p) == AsciiLower(*s)) return WildcardMatch(p + 1, s + 1);
    return false;
}

std::string EscapeCommentBytes(const std::string& bytes) {
    std::string text;
    int previous = -1;
    for (const char ch : bytes) {
        const int c = static_cast<unsigned char>(ch);
        if (c == '\r') {
            text += ' ';
        } else if (c == '\n') {
            if (previous != '\r') text += ' ';
        } else if (c == '\\') {
            text += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            const char digits[5] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                                    static_cast<char>('0' + (c & 7)), 0};
            text += digits;
        }
        previous = c;
    }
    return text;
}

namespace {
bool IsOctal(char c) { return c >= '0' && c <= '7'; }
}  // namespace

std::string UnescapeCommentText(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] <= '3' && IsOctal(text[i + 1]) &&
                   IsOctal(text[i + 2]) && IsOctal(text[i + 3])) {
            bytes += static_cast<char>((text[i + 1] - '0') << 6 | (text[i + 2] - '0') << 3 | (text[i + 3] - '0'));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}
