#include "ops/insert.h"

#include "ops/op_support.h"

int PasteImageAt(CDib& picture, const CDib& item, int x, int y) {
    if (picture.Empty() || item.Empty() || picture.bitsPerPixel != 24) return -1;
    CDib holder;
    const CDib& source = Source24(item, holder);
    picture.PasteRows(x, y, source.bits, source.width, source.height);
    picture.Touch();
    return 0;
}
