#include "view/keys.h"

#include <cstdint>

#include "view/display.h"

const LetterKey kLetterKeys[26] = {
    {'A', 5, 5508, 4000, RULE_SHIFT_FIRST},    {'B', 10, 151, 1050, RULE_CTRL_FIRST},
    {'C', 41, 169, 90, RULE_SHIFT_FIRST},      {'D', 15, 5505, 516, RULE_CTRL_FIRST},
    {'E', 76, 196, 70, RULE_SHIFT_FIRST},      {'F', 17, 40004, 5513, RULE_CTRL_FIRST},
    {'G', 43, 5504, 1300, RULE_SHIFT_FIRST},   {'H', 14, 176, 5515, RULE_CTRL_FIRST},
    {'I', 42, 40005, 140, RULE_CTRL_FIRST},    {'J', 62, 62, 62, RULE_NONE},
    {'K', 66, 66, 66, RULE_NONE},              {'L', 22, 23, 24, RULE_SHIFT_FIRST},
    {'M', 44, 44, 5514, RULE_NONE},            {'N', 16, 16, 5518, RULE_NONE},
    {'O', 2, 2, 40003, RULE_NONE},             {'P', 7, 5517, 300, RULE_CTRL_FIRST},
    {'Q', 18, 18, 18, RULE_NONE},              {'R', 3, 170, 137, RULE_SHIFT_FIRST},
    {'S', 120, 4, 13, RULE_CTRL_FIRST},        {'T', 19, 135, 134, RULE_SHIFT_FIRST},
    {'U', 83, 83, 83, RULE_NONE},              {'V', 20, 20, 91, RULE_NONE},
    {'W', 21, 21, 9, RULE_NONE},               {'X', 26, 5502, 5503, RULE_CTRL_FIRST},
    {'Y', 27, 5506, 51, RULE_CTRL_FIRST},      {'Z', 11, 177, 50, RULE_CTRL_FIRST},
};

int LetterKeyCommand(int virtualKey, bool shift, bool ctrl) {
    if (virtualKey < 'A' || virtualKey > 'Z') return 0;
    const LetterKey& k = kLetterKeys[virtualKey - 'A'];
    if (shift && ctrl) {
        // "Load Back 5" has a key of its own: Ctrl+Shift+L.
        if (k.letter == 'L') return 25;
        // Rows whose Shift command is the plain one have only Ctrl to tell apart.
        if (k.rule == RULE_SHIFT_FIRST) return k.shift;
        return k.ctrl;
    }
    if (ctrl) return k.ctrl;
    if (shift) return k.shift;
    return k.plain;
}

int FixedKeyCommand(int character) {
    switch (character) {
        case '1': return 120;
        case '2': return 98;
        case '5': return 38;
        case '6': return 49;
        case '7': return 30;
        case '8': return 29;
        case '9': return 28;
        case ',': return 150;
        case '=':
        case '.': return 52;
        default: return 0;
    }
}

double AnimSpeedAfterKey(double speed, int character) {
    if (character == '3') return speed * 1.2 < 1.0 ? 1.0 : speed * 1.2;
    if (character == '4') return speed * 0.8333;
    return speed;
}

bool PictureTallerThanWorkArea(char displayMode, int pictureHeight, int workAreaHeight, int borderHeight) {
    // Compared in quarters of a pixel so that Half and Quarter stay exact.
    int64_t quarters;
    switch (displayMode) {
        case MODE_NORMAL: quarters = 4; break;
        case MODE_DOUBLE: quarters = 8; break;
        case MODE_QUADRUPLE: quarters = 16; break;
        case MODE_HALF: quarters = 2; break;
        case MODE_QUARTER: quarters = 1; break;
        default: return false;
    }
    return 4 * (static_cast<int64_t>(workAreaHeight) - borderHeight) < quarters * pictureHeight;
}
