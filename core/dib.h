// CDib: one picture as a packed device-independent bitmap block (header, colour table,
// rows bottom-up padded to 4 bytes). The working format everywhere is 24 bits, bytes
// blue, green, red.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/ranges.h"

// The 40-byte header at the start of every packed block.
#pragma pack(push, 1)
struct DibHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(DibHeader) == 40, "DibHeader must be 40 bytes");

// The one exception text of the program: thrown (as a plain const char*) when a picture
// block cannot be allocated, caught by the operation that started the work.
extern const char* const kDibAllocFailure;  // "Can't allocate DIB memory."

// Largest picture side.
constexpr int kMaxDibSide = kPictureSideRange.high;

// Row size in bytes of a picture `width` pixels wide at `depth` bits.
inline uint64_t DibRowBytes(uint64_t width, uint64_t depth) { return ((width * depth + 31) / 32) * 4; }

class CDib {
public:
    uint8_t* info = nullptr;  // the packed block, owned
    uint8_t* bits = nullptr;  // first pixel row inside `info`
    uint32_t imageSize = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t rowBytes = 0;
    int32_t colourCount = 0;  // cached distinct colours, 0 = not counted
    uint8_t alphaMode = 0;    // 0 masks, 1 BGRA scaled by alpha, 2 grey+alpha pairs
    uint32_t blockSize = 0;
    // Identity of the block: a new value every time the block is replaced or freed, so a
    // result computed from one block (the colour count) is never stored into another.
    uint64_t serial = 0;

    CDib() = default;
    CDib(const CDib& other);
    CDib& operator=(const CDib& other);
    virtual ~CDib();

    void Assign(const CDib& other);
    // Exchanges the blocks and every field of two pictures without copying pixels.
    void Swap(CDib& other);
    void Free();
    // Marks the pixels as changed in place: results computed before no longer apply.
    void Touch();
    // Exchanges storage rows i and height - 1 - i (a top-down picture becomes bottom-up).
    void FlipRows();
    bool Empty() const { return info == nullptr; }

    // Replaces the block by a new one; contents of the table and pixels are undefined.
    // Throws kDibAllocFailure when the block cannot be held.
    uint8_t* Create(int w, int h, int depth);
    uint8_t* CreateFromPalette(int w, int h, const uint8_t* rgbTriples, int depth);
    // Copies biClrUsed colours given as red, green, blue triples into the colour table.
    void SetPalette(const uint8_t* rgbTriples);

    void Fill(uint8_t red, uint8_t green, uint8_t blue);
    void FillRGB(uint32_t rgb);
    void FillBGR(const uint8_t* bgr);

    uint32_t CountColours();

    // Re-creates this picture as 24 bits from a source block described by `header`
    // (a well-formed header: biSize bytes, the three masks for bit fields, biClrUsed
    // table entries); the source must not be this picture's own block. `pixels` null
    // means the pixels follow the header and table.
    // `pixelBytes` bounds the source pixels: rows beyond it stay black. Returns 0, or -1
    // when the source depth cannot be converted (the picture is then black).
    // `progress` (may be null) is told the tenths of the rows done as they grow.
    int ConvertTo24(const uint8_t* header, const uint8_t* pixels, uint64_t pixelBytes,
                    void (*progress)(int tenths) = nullptr);
    int MakeTrueColour();

    // Copies a 24-bit bottom-up picture into this 24-bit picture with its top-left corner
    // at (x, y) from the top-left, clipped on every side.
    void PasteRows(int x, int y, const uint8_t* pixels, int srcWidth, int srcHeight);
    void PlotPixel(int x, int y, const uint8_t* bgr);
    void DrawCircle(int cx, int cy, int radius, const uint8_t* bgr);

    DibHeader* Header() const { return reinterpret_cast<DibHeader*>(info); }
    // Buffer row `r` counted from the bottom.
    uint8_t* Row(int r) const { return bits + static_cast<size_t>(r) * rowBytes; }
    uint8_t* ColourTable() const { return info + sizeof(DibHeader); }
};

// Depth rounding of Create: 1; <=4 -> 4; <=8 -> 8; <=16; <=24; <=32; above -> 64.
int RoundDibDepth(int depth);

// One packed palette row of 1, 2, 4 or 8 bits a pixel as one index a byte, `width` of
// them: written into `into` (room for `width`), or the row itself for 8 bits.
const uint8_t* UnpackIndices(const uint8_t* row, int depth, int width, uint8_t* into);
