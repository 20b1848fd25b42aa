#include "libcodecs/jpeg_transform.h"

#include <algorithm>
#include <cstring>

#include <turbojpeg.h>

#include "codecs/exif.h"

bool LosslessOperationOfCommand(int command, LosslessOperation* operation) {
    switch (command) {
        case 156: *operation = LOSSLESS_ROTATE_90; return true;
        case 157: *operation = LOSSLESS_ROTATE_180; return true;
        case 158: *operation = LOSSLESS_ROTATE_270; return true;
        case 159: *operation = LOSSLESS_FLIP_HORIZONTAL; return true;
        case 160: *operation = LOSSLESS_FLIP_VERTICAL; return true;
        case 166: *operation = LOSSLESS_TRANSPOSE; return true;
        case 167: *operation = LOSSLESS_TRANSVERSE; return true;
        case 168: *operation = LOSSLESS_NONE; return true;
        default: return false;
    }
}

int AutoFixCommand(int orientation) {
    switch (orientation) {
        case 0:
        case 1: return 0;
        case 2: return 159;
        case 3: return 157;
        case 4: return 160;
        case 5: return 166;
        case 6: return 156;
        case 7: return 167;
        case 8: return 158;
        default: return 168;
    }
}

namespace {

// An operation as the matrix it applies to a pixel's place (x, y), measured from the
// picture's centre with y pointing down: (x, y) becomes (a x + b y, c x + d y).
struct PlaceMatrix {
    int a, b, c, d;
};

constexpr struct {
    LosslessOperation operation;
    PlaceMatrix matrix;
} kPlaceMatrices[] = {
    {LOSSLESS_NONE, {1, 0, 0, 1}},
    {LOSSLESS_ROTATE_90, {0, -1, 1, 0}},  // the right edge becomes the bottom
    {LOSSLESS_ROTATE_180, {-1, 0, 0, -1}},
    {LOSSLESS_ROTATE_270, {0, 1, -1, 0}},
    {LOSSLESS_FLIP_HORIZONTAL, {-1, 0, 0, 1}},
    {LOSSLESS_FLIP_VERTICAL, {1, 0, 0, -1}},
    {LOSSLESS_TRANSPOSE, {0, 1, 1, 0}},
    {LOSSLESS_TRANSVERSE, {0, -1, -1, 0}},
};

PlaceMatrix MatrixOf(LosslessOperation operation) {
    for (const auto& row : kPlaceMatrices)
        if (row.operation == operation) return row.matrix;
    return kPlaceMatrices[0].matrix;
}

// p applied after q.
PlaceMatrix After(const PlaceMatrix& p, const PlaceMatrix& q) {
    return {p.a * q.a + p.b * q.c, p.a * q.b + p.b * q.d, p.c * q.a + p.d * q.c, p.c * q.b + p.d * q.d};
}

LosslessOperation OperationOf(const PlaceMatrix& m) {
    for (const auto& row : kPlaceMatrices)
        if (row.matrix.a == m.a && row.matrix.b == m.b && row.matrix.c == m.c && row.matrix.d == m.d)
            return row.operation;
    return LOSSLESS_NONE;
}

}  // namespace

LosslessOperation StoredOperation(LosslessOperation shown, int orientation) {
    LosslessOperation upright;
    if (orientation < 2 || orientation > 8 || !LosslessOperationOfCommand(AutoFixCommand(orientation), &upright))
        return shown;
    const PlaceMatrix u = MatrixOf(upright);
    // The matrices are orthogonal: the inverse is the transpose.
    const PlaceMatrix back{u.a, u.c, u.b, u.d};
    return OperationOf(After(back, After(MatrixOf(shown), u)));
}

namespace {

int TurboOperation(LosslessOperation operation) {
    switch (operation) {
        case LOSSLESS_ROTATE_90: return TJXOP_ROT90;
        case LOSSLESS_ROTATE_180: return TJXOP_ROT180;
        case LOSSLESS_ROTATE_270: return TJXOP_ROT270;
        case LOSSLESS_FLIP_HORIZONTAL: return TJXOP_HFLIP;
        case LOSSLESS_FLIP_VERTICAL: return TJXOP_VFLIP;
        case LOSSLESS_TRANSPOSE: return TJXOP_TRANSPOSE;
        case LOSSLESS_TRANSVERSE: return TJXOP_TRANSVERSE;
        default: return TJXOP_NONE;
    }
}

// The library's handle, destroyed on every way out.
struct Transformer {
    tjhandle handle = tjInitTransform();
    ~Transformer() {
        if (handle != nullptr) tjDestroy(handle);
    }
};

}  // namespace

bool TransformJpeg(const uint8_t* data, size_t size, LosslessOperation operation, const LosslessRegion* crop,
                   bool stopOnWarning, std::vector<uint8_t>* out, std::string* error) {
    out->clear();
    Transformer t;
    if (t.handle == nullptr) {
        *error = tjGetErrorStr2(nullptr);
        return false;
    }
    tjtransform transform;
    std::memset(&transform, 0, sizeof transform);
    transform.op = TurboOperation(operation);
    if (crop != nullptr) {
        int width = 0, height = 0, subsampling = 0, colourspace = 0;
        if (tjDecompressHeader3(t.handle, data, static_cast<unsigned long>(size), &width, &height, &subsampling,
                                &colourspace) != 0) {
            *error = tjGetErrorStr2(t.handle);
            return false;
        }
        // The library cuts only on the block grid: the corner moves down to it and the
        // region grows by as much, so that it still holds what was chosen.
        const int blockW = subsampling >= 0 && subsampling < TJ_NUMSAMP ? tjMCUWidth[subsampling] : 8;
        const int blockH = subsampling >= 0 && subsampling < TJ_NUMSAMP ? tjMCUHeight[subsampling] : 8;
        const int x = std::clamp(crop->x, 0, std::max(0, width - 1));
        const int y = std::clamp(crop->y, 0, std::max(0, height - 1));
        const int gx = x - x % blockW, gy = y - y % blockH;
        transform.r.x = gx;
        transform.r.y = gy;
        transform.r.w = static_cast<int>(std::min<long long>(static_cast<long long>(crop->width) + (x - gx), width - gx));
        transform.r.h = static_cast<int>(std::min<long long>(static_cast<long long>(crop->height) + (y - gy), height - gy));
        if (transform.r.w < 1 || transform.r.h < 1) {
            *error = "empty crop region";
            return false;
        }
        transform.options |= TJXOPT_CROP;
    }
    unsigned char* result = nullptr;
    unsigned long resultSize = 0;
    const int flags = stopOnWarning ? TJFLAG_STOPONWARNING : 0;
    const int status = tjTransform(t.handle, data, static_cast<unsigned long>(size), 1, &result, &resultSize,
                                   &transform, flags);
    // Without the stop flag a warning still gives a result; with it the result is refused.
    const bool failed = status != 0 && (stopOnWarning || tjGetErrorCode(t.handle) == TJERR_FATAL || result == nullptr);
    if (failed) {
        *error = tjGetErrorStr2(t.handle);
        if (result != nullptr) tjFree(result);
        return false;
    }
    out->assign(result, result + resultSize);
    tjFree(result);
    return true;
}

bool SetFileOrientationNormal(std::vector<uint8_t>& file) {
    Cjpeg scan;
    scan.ScanJpegMarkers(file.data(), file.size());
    if (scan.exif == nullptr || scan.exifLength == 0) return false;
    const size_t at = static_cast<size_t>(scan.exif - file.data());
    std::vector<uint8_t> payload(scan.exif, scan.exif + scan.exifLength);
    if (!SetExifOrientationNormal(payload)) return false;
    std::copy(payload.begin(), payload.end(), file.begin() + static_cast<long>(at));
    return true;
}
