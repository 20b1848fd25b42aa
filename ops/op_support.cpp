#include "ops/op_support.h"

#include <utility>


const CDib& Source24(const CDib& image, CDib& holder) {
    if (image.Empty() || image.bitsPerPixel == 24) return image;
    holder.alphaMode = image.alphaMode;
    holder.ConvertTo24(image.info, image.bits, image.imageSize);
    return holder;
}

SecondsProgress::SecondsProgress(OpProgress progress, std::string label)
    : progress_(progress), label_(std::move(label)), lastSecond_(NowSeconds()) {}

long long SecondsProgress::NowSeconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 1000;
}

void SecondsProgress::Step(long long total, long long done) {
    if (progress_ == nullptr) return;
    const long long now = NowSeconds();
    if (now == lastSecond_) return;
    lastSecond_ = now;
    progress_(total, done, label_);
}

void TenthsProgress::Step(long long total, long long done) {
    if (progress_ == nullptr || total <= 0) return;
    const long long value = 10 * (done * 10 / total);
    if (value <= shown_) return;
    shown_ = value;
    // Shown as a percentage of 100, so the title reads exactly "label value%".
    progress_(100, value, label_);
}
