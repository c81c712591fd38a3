// What the Linux platform library can tell tests about its own state.
// Not part of the Win32 subset; nothing in the product calls it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace winplatform {

// How long an opened process handle takes the open's finding that the
// process runs as it stands; a process that ends within that time may
// still show its modules.
inline constexpr unsigned kProcessFoundRunningMs = 10;

// Handles of every kind that are open now.
std::size_t openHandleCount();
// File handles (CreateFileW) that are open now.
std::size_t openFileCount();

struct ActivationStats {
    std::uint64_t activations = 0;
    std::uint64_t deactivations = 0;
    std::size_t depth = 0;  // contexts active on the calling thread now
};
// Activations and deactivations on the calling thread since it started.
ActivationStats activationStats();

}  // namespace winplatform

namespace winplatform {

// Successful COM initialisations of the calling thread not yet undone.
std::size_t comInitCount();
// BSTRs allocated and not yet freed, in the whole process.
std::size_t liveBstrCount();

}  // namespace winplatform

namespace winplatform {

// GDI objects (bitmaps) created and not yet deleted, in the whole process.
std::size_t liveGdiObjectCount();

}  // namespace winplatform

#include <string>
#include <vector>

namespace winplatform {

// The texts of the message boxes shown so far, in order.
std::vector<std::u16string> messageBoxes();
void clearMessageBoxes();

}  // namespace winplatform
