// Saving as JPEG, apart from the dialog: the check made before a JPEG save, what the
// "Enter JPEG Information" dialog opens with, and what its OK stores (the JPEG settings,
// the picture's comment and the writer's quality).
#pragma once

#include <cstddef>
#include <string>

#include "core/filetype.h"

// The picture's comment holds at most this many bytes.
constexpr size_t kCommentBytes = 2048;

// What Save and Save As do before writing the picture as `saveType`. Its depth is the
// smaller of the picture's own (`pictureBits`) and `saveDepth`: the picture stays 24 bits
// in memory after Reduce Colour Depth, which leaves its new depth in saveDepth.
enum JpegSaveStep {
    JPEG_SAVE_NOT_JPEG,   // another type: write at once
    JPEG_SAVE_POINTLESS,  // JPEG of fewer than 8 bits: warn and write nothing
    JPEG_SAVE_ASK,        // JPEG: the quality dialog first, write only after its OK
};
JpegSaveStep JpegSaveCheck(FileType saveType, int pictureBits, int saveDepth);
// The warning of JPEG_SAVE_POINTLESS.
extern const char kJpegPointlessText[];

// The dialog's controls as texts and check boxes.
struct JpegDialogValues {
    std::string quality;         // 1012, the quality as typed
    bool saveExif = false;       // 1097 "Save Exif in file?"
    bool saveDate = false;       // 1098 "Save original date?"
    bool deleteComment = false;  // 1001 "Delete comments?"
    std::string comment;         // 1123, UTF-8
};

// Opening: the quality from DefaultJPEGQuality, the boxes from SaveExifHeaderToFile,
// SaveDate and DeleteComment, the comment of the current picture.
JpegDialogValues OpenJpegDialog();
// OK: DefaultJPEGQuality from the typed quality (JpegQualityFromText); SaveDate and
// DeleteComment from their boxes; SaveExifHeaderToFile from its box only when the picture
// has an EXIF block (else it keeps its value); the comment becomes empty with "Delete
// comments?", else the typed one (CutComment). The writer's quality follows
// DefaultJPEGQuality.
void ApplyJpegDialog(const JpegDialogValues& typed);

// The typed quality: a whole number (blanks around it allowed) in 1..100; anything else,
// 0 or less, above 100 or no number at all, gives 75.
int JpegQualityFromText(const std::string& text);
// A comment as the picture keeps it: at most kCommentBytes bytes, never ending inside a
// UTF-8 character.
std::string CutComment(const std::string& text);
// The comment editor's OK: the picture takes the typed comment (CommentFromShown, then
// CutComment) and one undo step, so that it counts as changed.
void StoreEditedComment(const std::string& typed);

// The picture keeps its comment's bytes, which its file gets back when written. A JPEG's
// comment is shown (file information, the comment fields of the dialogs) escaped
// (EscapeCommentBytes); the comments of other files are shown as they are.
std::string ShownComment();
// The bytes for text typed over ShownComment(): the shown text left as it was keeps the
// comment's bytes (line ends included); edited text of a JPEG's comment is unescaped.
std::string CommentFromShown(const std::string& typed);
