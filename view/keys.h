// Which command a key sends. The letter keys are one table of plain / Shift / Ctrl
// commands; when Shift and Ctrl are both held, the row says which modifier wins.
#pragma once

enum ModifierRule { RULE_NONE = 0, RULE_SHIFT_FIRST = 1, RULE_CTRL_FIRST = 2 };

struct LetterKey {
    char letter;
    int plain;
    int shift;
    int ctrl;
    ModifierRule rule;
};
extern const LetterKey kLetterKeys[26];

// Command of a letter key (virtual-key code 'A'..'Z'), or 0 when it has none.
int LetterKeyCommand(int virtualKey, bool shift, bool ctrl);

// Command of the digit and punctuation keys that always send the same command ('1', '2',
// '5'..'9', ',', '=' and '.'); 0 for any other key.
int FixedKeyCommand(int character);

// The animation speed (a percentage of the frames' own delays; higher is slower) after
// key '3' (times 1.2, at least 1) or '4' (times 0.8333); any other key leaves it.
double AnimSpeedAfterKey(double speed, int character);

// Whether Page Up/Down and the Up/Down arrows scroll instead of changing the file: in the
// fixed-scale modes (Normal, Double, Quadruple, Half, Quarter) when the scaled picture is
// taller than the work area less the window's border; never in the fitted and zoom modes.
bool PictureTallerThanWorkArea(char displayMode, int pictureHeight, int workAreaHeight, int borderHeight);
