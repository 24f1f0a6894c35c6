#pragma once

#include <cstdint>

namespace kt {

// One code space for keyboard keys, mouse buttons and gamepad buttons. Keyboard codes are the platform's key
// symbols: printable keys are their lower-case characters, the others carry the large key-symbol values.
enum ButtonName : std::uint32_t {
    kbRangeBegin = 1,
    kbBackspace = 8,
    kbTab = 9,
    kbReturn = 13,
    kbEscape = 27,
    kbSpace = 32,
    kb0 = '0', kb1, kb2, kb3, kb4, kb5, kb6, kb7, kb8, kb9,
    kbA = 'a', kbD = 'd', kbE = 'e', kbI = 'i', kbO = 'o', kbP = 'p', kbQ = 'q', kbR = 'r', kbS = 's', kbT = 't',
    kbU = 'u', kbW = 'w', kbY = 'y',
    kbDelete = 127,
    kbRangeEnd = 255,

    msLeft = 256,
    msRight = 257,
    msMiddle = 258,
    msWheelUp = 259,
    msWheelDown = 260,
    msRangeEnd = 261,

    gpLeft = 262,
    gpRight = 263,
    gpUp = 264,
    gpDown = 265,
    gpButton0 = 266,
    gpButton15 = 281,

    kbLeftMeta = 0,
    kbRightMeta = 0,

    // Keys without a character: the scan code with bit 30 set.
    kbF1 = 1073741882, kbF2, kbF3, kbF4, kbF5, kbF6, kbF7, kbF8, kbF9, kbF10, kbF11, kbF12,
    kbInsert = 1073741897,
    kbHome = 1073741898,
    kbPageUp = 1073741899,
    kbEnd = 1073741901,
    kbPageDown = 1073741902,
    kbRight = 1073741903,
    kbLeft = 1073741904,
    kbDown = 1073741905,
    kbUp = 1073741906,
    kbNumpadDivide = 1073741908,
    kbNumpadMultiply = 1073741909,
    kbNumpadSubtract = 1073741910,
    kbNumpadAdd = 1073741911,
    kbEnter = 1073741912,
    kbNumpad1 = 1073741913, kbNumpad2, kbNumpad3, kbNumpad4, kbNumpad5, kbNumpad6, kbNumpad7, kbNumpad8,
    kbNumpad9,
    kbNumpad0 = 1073741922,
    kbLeftControl = 1073742048,
    kbLeftShift = 1073742049,
    kbLeftAlt = 1073742050,
    kbRightControl = 1073742052,
    kbRightShift = 1073742053,
    kbRightAlt = 1073742054,

    noButton = 0xFFFFFFFF,
};

}  // namespace kt
