#include "view/jpeg_dialog.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "base/ranges.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/save.h"

const char kJpegPointlessText[] = "JPEG format is pointless for anything less than true colour or 256 colours!";

namespace {

constexpr int kFallbackQuality = 75;


}  // namespace

JpegSaveStep JpegSaveCheck(FileType saveType, int pictureBits, int saveDepth) {
    if (saveType != FT_JPEG) return JPEG_SAVE_NOT_JPEG;
    return std::min(pictureBits, saveDepth) < 8 ? JPEG_SAVE_POINTLESS : JPEG_SAVE_ASK;
}

JpegDialogValues OpenJpegDialog() {
    JpegDialogValues values;
    values.quality = std::to_string(DefaultJPEGQuality);
    values.saveExif = SaveExifHeaderToFile != 0;
    values.saveDate = SaveDate != 0;
    values.deleteComment = DeleteComment != 0;
    values.comment = ShownComment();
    return values;
}

void ApplyJpegDialog(const JpegDialogValues& typed) {
    DefaultJPEGQuality = JpegQualityFromText(typed.quality);
    SaveDate = typed.saveDate ? 1 : 0;
    DeleteComment = typed.deleteComment ? 1 : 0;
    // Without an EXIF block the box says nothing about this picture: the setting stays.
    if (!CurrentImage.exif.empty()) SaveExifHeaderToFile = typed.saveExif ? 1 : 0;
    CurrentImage.comment = DeleteComment ? std::string() : CutComment(CommentFromShown(typed.comment));
    jpegQuality = DefaultJPEGQuality;
}

int JpegQualityFromText(const std::string& text) {
    return IntFromField(text, kJpegDialogQualityRange, kFallbackQuality);
}

std::string CutComment(const std::string& text) {
    if (text.size() <= kCommentBytes) return text;
    size_t length = kCommentBytes;
    // Back over continuation bytes to the start of the character that does not fit.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    return text.substr(0, length);
}

namespace {
bool CommentShownEscaped() { return CurrentImage.fileType == FT_JPEG; }
}  // namespace

std::string ShownComment() {
    return CommentShownEscaped() ? EscapeCommentBytes(CurrentImage.comment) : CurrentImage.comment;
}

std::string CommentFromShown(const std::string& typed) {
    if (typed == ShownComment()) return CurrentImage.comment;
    return CommentShownEscaped() ? UnescapeCommentText(typed) : typed;
}

void StoreEditedComment(const std::string& typed) {
    CurrentImage.comment = CutComment(CommentFromShown(typed));
    PushUndo();
}
