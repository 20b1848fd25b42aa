#include "core/decode.h"

#include "core/filemem.h"
#include "core/report.h"
#include "base/appstate.h"
#include "platform/host.h"

jmp_buf LoadRecovery;

void JumpToLoadRecovery() { longjmp(LoadRecovery, 1); }

namespace {

void PointCursorAt(const uint8_t* data, size_t size) {
    if (data == nullptr && FileCursor.stream != nullptr) return;  // the open stream is read
    FileCursor.stream = nullptr;
    FileCursor.start = FileCursor.cur = data;
    FileCursor.end = data + size;
    FileCursor.size = size;
}

// Both phases under the recovery point. A reader may leave by a long jump, so nothing
// with a destructor lives in this frame.
int RunPhases(const FormatRow* row, CDib& picture, ImageFacts& facts, bool* headerPassed, AfterHeader afterHeader,
              void* context) {
    if (setjmp(LoadRecovery) != 0) return DECODE_JUMPED;
    uint16_t h = 0, w = 0, d = 0;
    if (row->readHeader(facts, &h, &w, &d) < 0) return DECODE_FAILED;
    try {
        picture.Create(w, h, d);
    } catch (const char*) {
        ShowMessage(kDibAllocFailure, "LUM", kMbOk | kMbIconWarning);
        return DECODE_NO_MEMORY;
    }
    *headerPassed = true;
    if (afterHeader != nullptr && afterHeader(w, h, d, context) < 0) return DECODE_FAILED;
    const int result = row->decodePixels(picture, facts);
    return result == DECODE_JUMPED ? DECODE_FAILED : result;
}

int RunPage(const FormatRow* row, int page, CDib& picture, ImageFacts& facts) {
    if (setjmp(LoadRecovery) != 0) return DECODE_JUMPED;
    uint16_t h = 0, w = 0, d = 0;
    const int selected = row->selectPage(page, facts, &h, &w, &d);
    if (selected < 0) return selected == -2 ? DECODE_NO_READER : DECODE_FAILED;
    try {
        picture.Create(w, h, d);
    } catch (const char*) {
        ShowMessage(kDibAllocFailure, "LUM", kMbOk | kMbIconWarning);
        return DECODE_NO_MEMORY;
    }
    const int result = row->decodePixels(picture, facts);
    return result == DECODE_JUMPED ? DECODE_FAILED : result;
}

int RunProbe(const FormatRow* row, ImageFacts& scratch, uint16_t* height, uint16_t* width, uint16_t* depth) {
    if (setjmp(LoadRecovery) != 0) return -1;
    if (row->probeHeader != nullptr) return row->probeHeader(height, width, depth);
    return row->readHeader(scratch, height, width, depth);
}

}  // namespace

int DecodeImage(FileType type, const uint8_t* data, size_t size, CDib& picture, ImageFacts& facts,
                bool* headerPassed, AfterHeader afterHeader, void* context) {
    *headerPassed = false;
    const FormatRow* row = FindFormat(type);
    if (row == nullptr || row->readHeader == nullptr) return DECODE_NO_READER;
    PointCursorAt(data, size);
    const int result = RunPhases(row, picture, facts, headerPassed, afterHeader, context);
    if (row->release != nullptr) row->release();
    return result;
}

int DecodePage(FileType type, int page, CDib& picture, ImageFacts& facts) {
    const FormatRow* row = FindFormat(type);
    if (row == nullptr || row->selectPage == nullptr || row->decodePixels == nullptr) return DECODE_NO_READER;
    return RunPage(row, page, picture, facts);
}

int ProbeImage(FileType type, const uint8_t* data, size_t size, uint16_t* width, uint16_t* height,
               uint16_t* depth) {
    const FormatRow* row = FindFormat(type);
    if (row == nullptr || row->readHeader == nullptr) return -1;
    PointCursorAt(data, size);
    ImageFacts scratch;  // a reader without a probe records facts nobody asked for
    return RunProbe(row, scratch, height, width, depth);
}
