#pragma once

// The stable sort of sort with a comparator, shared by the builtin and by an
// engine that calls the comparator its own way (Caller::sortBy) or sorts
// records of the comparator's operands.

#include <algorithm>
#include <cstddef>
#include <utility>

#include "../value.h"

namespace velmor {

// A stable merge sort that stays sound under any comparator: whatever `less`
// answers (inconsistent, random, always true), every element ends up in the
// result exactly once and no access leaves the buffers. If `less` throws, the
// exception propagates and `items` holds an unspecified arrangement.
// `between()` is called before each short run and each merge of two runs,
// where a sort that calls no code of the program looks for an interrupt.
template <class Items, class Less, class Between = void (*)()>
void stableMergeSort(
    Items& items, Less&& less, Between&& between = [] {}) {
    const std::size_t count = items.size();
    if (count < 2) return;

    // Short runs by insertion, which moves each element only by swapping
    // neighbours, so a bad answer can misplace but never lose one.
    constexpr std::size_t kRunLength = 12;
    for (std::size_t runStart = 0; runStart < count; runStart += kRunLength) {
        between();
        const std::size_t runEnd = std::min(count, runStart + kRunLength);
        for (std::size_t i = runStart + 1; i < runEnd; ++i) {
            for (std::size_t j = i; j > runStart && less(items[j], items[j - 1]); --j) {
                std::swap(items[j], items[j - 1]);
            }
        }
    }
    if (count <= kRunLength) return;

    Items buffer(count);
    Items* source = &items;
    Items* target = &buffer;
    for (std::size_t width = kRunLength; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            between();
            const std::size_t middle = std::min(count, left + width);
            const std::size_t right = std::min(count, left + 2 * width);
            std::size_t i = left;
            std::size_t j = middle;
            std::size_t out = left;
            // Take from the right run only when strictly less: equal elements keep their order.
            while (i < middle && j < right) {
                if (less((*source)[j], (*source)[i])) {
                    (*target)[out++] = std::move((*source)[j++]);
                } else {
                    (*target)[out++] = std::move((*source)[i++]);
                }
            }
            while (i < middle) (*target)[out++] = std::move((*source)[i++]);
            while (j < right) (*target)[out++] = std::move((*source)[j++]);
        }
        std::swap(source, target);
    }
    if (source != &items) items.swap(buffer);
}

}  // namespace velmor
