#pragma once
// The quicksort of the program's tables (games by id, list rows, profiles, skins and languages by
// name): Hoare partitioning around the key of the middle entry, an out-of-order pair exchanged,
// both parts sorted on. The order of equal keys is whatever this gives, and every table sorts the
// same way. Recursion goes into the smaller part while the loop continues with the larger, so the
// depth stays logarithmic whatever the input; the parts are independent, so the order is the
// same as recursing into both.

#include <cstddef>
#include <utility>
#include <vector>

namespace tkv {

// Sorts keys[l..r] and, through swap_entries(i, j), the entries they belong to.
template <class Key, class SwapEntries>
void sort_by_keys(std::vector<Key>& keys, std::ptrdiff_t l, std::ptrdiff_t r, SwapEntries&& swap_entries) {
    const auto at = [](std::ptrdiff_t i) { return static_cast<std::size_t>(i); };
    while (l < r) {
        std::ptrdiff_t i = l, j = r;
        const Key pivot = keys[at(l + (r - l) / 2)];
        while (i <= j) {
            while (keys[at(i)] < pivot)
                ++i;
            while (pivot < keys[at(j)])
                --j;
            if (i <= j) {
                if (keys[at(j)] < keys[at(i)]) {
                    std::swap(keys[at(i)], keys[at(j)]);
                    swap_entries(at(i), at(j));
                }
                ++i;
                --j;
            }
        }
        if (j - l < r - i) {
            if (l < j) sort_by_keys(keys, l, j, swap_entries);
            l = i;
        } else {
            if (i < r) sort_by_keys(keys, i, r, swap_entries);
            r = j;
        }
    }
}

} // namespace tkv
