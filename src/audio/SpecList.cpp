#include "audio/SpecList.h"

TSpectrumRecord* TSpectrumList::Add() {
    // Zero-filled, so bands a smaller transform leaves unset read as silence.
    FItems.push_back(std::make_unique<TSpectrumRecord>());
    return FItems.back().get();
}

TSpectrumRecord* TSpectrumList::Items(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return FItems[static_cast<std::size_t>(index)].get();
}

void TSpectrumList::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
}
