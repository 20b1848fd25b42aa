#include "shell/metadata_dialogs.h"

#include <new>
#include <string>

#include "base/ids.h"
#include "base/text.h"
#include "codecs/exif.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/report.h"
#include "libcodecs/jpeg.h"
#include "view/jpeg_dialog.h"
#include "view/metadata_dialogs.h"
#include "desktop/clipboard.h"
#include "shell/command_table.h"
#include "shell/dialog_common.h"
#include "shell/dibtext.h"
#include "shell/filetime.h"
#include "shell/info_dialogs.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"

namespace {

// What the EXIF and XMP dialogs show: the text, and for the EXIF dialog its thumbnail.
struct MetadataView {
    WString text;
    CDib thumbnail;
};

// The EXIF block's JPEG thumbnail, or the grey "No Thumbnail Found!" picture when it has
// none or it does not decode.
void MakeThumbnail(const CurrentImageState& image, CDib& picture) {
    Cexif exif;
    const uint8_t* data = nullptr;
    size_t length = 0;
    if (!image.exif.empty() && exif.ParseExif(image.exif.data(), image.exif.size()) &&
        ExifJpegThumbnail(exif, &data, &length)) {
        try {
            if (DecodeJpegBytes(data, length, picture) == 0 && !picture.Empty()) return;
        } catch (const char* text) {
            ShowMessage(text, "JPEG Thumbnail", kMbOk | kMbIconWarning);
        }
    }
    picture.Create(kThumbnailBoxWidth, kThumbnailBoxHeight, 24);
    picture.FillRGB(kNoThumbnailColour);
    const RECT line = {0, kThumbnailBoxHeight / 2 - 8, kThumbnailBoxWidth, kThumbnailBoxHeight / 2 + 8};
    const COLORREF grey = RGB(kNoThumbnailColour >> 16 & 0xFF, kNoThumbnailColour >> 8 & 0xFF, kNoThumbnailColour & 0xFF);
    DibDrawText(picture, nullptr, line, RGB(0, 0, 0), grey, nullptr, TRANSPARENT, Widen(kNoThumbnailText).c_str());
}

void PaintThumbnail(HWND dialog, const CDib& picture) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (dc != nullptr && !picture.Empty()) {
        const ThumbnailRect at = ThumbnailPlacement(picture.width, picture.height);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, at.x, at.y, at.width, at.height, 0, 0, picture.width, picture.height, picture.bits,
                      reinterpret_cast<const BITMAPINFO*>(picture.info), DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(dialog, &paint);
}

INT_PTR MetadataMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<MetadataView*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            view = reinterpret_cast<MetadataView*>(lParam);
            SetDlgItemTextW(dialog, IDC_META_TEXT, view->text.c_str());
            if (!view->thumbnail.Empty())
                SetDlgItemTextW(dialog, IDC_META_THUMB_NOTE, TEXT("Thumbnail taken from Exif Header"));
            // The focus goes to OK, so that the text is not shown selected.
            SetFocus(GetDlgItem(dialog, IDOK));
            return FALSE;
        case WM_PAINT:
            if (view == nullptr || view->thumbnail.Empty()) return FALSE;
            PaintThumbnail(dialog, view->thumbnail);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_META_COPY:
                    if (view != nullptr && CopyTextToClipboard(dialog, view->text.c_str()) < 0)
                        MessageBeep(MB_ICONWARNING);
                    return TRUE;
                case IDOK:
                case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK MetadataProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return MetadataMessage(dialog, message, wParam, lParam); });
}

INT_PTR CommentMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(dialog, IDC_COMMENT_TEXT, EM_LIMITTEXT, kCommentBytes, 0);
            SetDlgItemTextW(dialog, IDC_COMMENT_TEXT, Widen(CutToUtf16Units(ShownComment(), kCommentBytes)).c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                StoreEditedComment(DialogItemText(dialog, IDC_COMMENT_TEXT));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK CommentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return CommentMessage(dialog, message, wParam); });
}

}  // namespace

void ShowExifDialog(HWND owner) {
    const CurrentImageState& image = CurrentImage;
    const CFileOps& file = InputFile;
    MetadataView view;
    view.text = Widen(ExifDialogText(file.NamePart(), file.Size(), FileDateText(file.creationTime),
                                     PictureExifText(image)));
    try {
        MakeThumbnail(image, view.thumbnail);
    } catch (const char* text) {
        // Not even the grey stand-in could be made: the dialog shows the text alone.
        ShowMessage(text, "JPEG Thumbnail", kMbOk | kMbIconWarning);
        view.thumbnail.Free();
    }
    DialogBoxParamW(AppInstance, TEXT("ExifThumbDlg"), owner, MetadataProc, reinterpret_cast<LPARAM>(&view));
}

void ShowXmpDialog(HWND owner) {
    MetadataView view;
    try {
        view.text = Widen(XmpDialogText(CurrentImage.xmp));
    } catch (const std::bad_alloc&) {
        ReportFileError("Not enough memory for XMP data ");
        return;
    }
    DialogBoxParamW(AppInstance, TEXT("XMPThumbDlg"), owner, MetadataProc, reinterpret_cast<LPARAM>(&view));
}

void OpenFileInformation(HWND owner) {
    switch (ShowFileInformation(owner)) {
        case 2: ShowExifDialog(owner); break;
        case 3: ShowXmpDialog(owner); break;
        default: break;
    }
}

LRESULT OnEditComment(HWND window, int) {
    DialogBoxParamW(AppInstance, TEXT("EditCommentDlg"), window, CommentProc, 0);
    return 0;
}
