// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Windows and pictures the tests make, by the 32-bit numbers the library
// takes (the system's headers stay in win32windows.cpp, as in win32client).
namespace win32client
{

// A report-style list view with two columns in a hidden top-level window;
// both go when the test ends.
std::int32_t makeListView();

// What the list view answers for its header's custom-draw notification at
// stage, drawing into a memory device context whose text and background
// colours come back.
struct CustomDraw {
    std::intptr_t answer;
    std::uint32_t textColour;
    std::uint32_t backgroundColour;
};
CustomDraw headerCustomDraw(std::int32_t listView, std::uint32_t stage);

// A memory device context on a white 32 by 32 picture, and the number of
// its pixels that are no longer white.
std::int32_t makeWhitePicture();
int pixelsDrawn(std::int32_t picture);

} // namespace win32client
