#include "web/browser.h"

#include <cstring>

namespace {

struct NamedKey {
    const char* name;
    int code;
};

// The keys without a printable character that the desktop program receives as ASCII codes.
constexpr NamedKey kNamedKeys[] = {
    {"Backspace", 8}, {"Tab", 9}, {"Enter", 13}, {"Escape", 27}, {"Delete", 127},
};

// The code point of `text` if it is exactly one UTF-8 character of at most two bytes, else -1.
int singleLatinCharacter(const char* text) {
    const auto* b = reinterpret_cast<const unsigned char*>(text);
    if (b[0] != 0 && b[0] < 0x80 && b[1] == 0) {
        return b[0];
    }
    // Two-byte sequences 0xC2 0x80 .. 0xC3 0xBF encode U+0080 .. U+00FF.
    if ((b[0] == 0xC2 || b[0] == 0xC3) && (b[1] & 0xC0) == 0x80 && b[2] == 0) {
        return ((b[0] & 0x1F) << 6) | (b[1] & 0x3F);
    }
    return -1;
}

} // namespace

int browserKeyCode(const char* key, bool shortcut) {
    if (shortcut) {
        return -1;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(key, named.name) == 0) {
            return named.code;
        }
    }
    return singleLatinCharacter(key);
}

GLenum browserPrimitive(GLenum mode) {
    return mode == GL_POLYGON ? static_cast<GLenum>(GL_TRIANGLE_FAN) : mode;
}
