#include "core/colour_count.h"

#include "core/current_image.h"

std::shared_ptr<ColourCountJob> PrepareColourCount() {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return nullptr;
    auto job = std::make_shared<ColourCountJob>();
    try {
        job->snapshot.Assign(dib);
    } catch (const char*) {
        return nullptr;
    }
    job->sourceSerial = dib.serial;
    return job;
}

void RunColourCount(ColourCountJob& job) {
    job.result.store(job.snapshot.CountColours(), std::memory_order_relaxed);
    job.snapshot.Free();
    job.done.store(true, std::memory_order_release);
}

bool ApplyColourCount(const ColourCountJob& job) {
    if (!job.done.load(std::memory_order_acquire)) return false;
    uint32_t count = job.result.load(std::memory_order_relaxed);
    CDib& dib = CurrentImage.dib;
    if (count == 0 || dib.serial != job.sourceSerial) return false;
    dib.colourCount = static_cast<int32_t>(count);
    return true;
}
