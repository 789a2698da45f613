#pragma once

#include <QByteArray>

#include <cstdint>

// The 768 bytes of the palette that save number `number` of the save loop writes. Every number
// gives different bytes (it is stored in the first four), so a file on disk tells exactly which
// save produced it. The rest is a cheap pseudo-random fill, so neighbouring saves differ in
// nearly every byte and a mix of two would not pass for either.
inline QByteArray numberedPaletteBytes(std::uint32_t number) {
    QByteArray bytes(768, '\0');
    std::uint32_t state = number * 2654435761u + 0x9e3779b9u;
    for (int i = 0; i < bytes.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(i < 4 ? (number >> (8 * i)) & 0xff : state & 0xff);
    }
    return bytes;
}
