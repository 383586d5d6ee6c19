#include "spi_loader/dib_check.h"

namespace hrlspi {

std::uint64_t pixelBytesNeeded(const DibFields& f) {
    if (f.width <= 0 || f.height == 0) return 0;
    switch (f.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
    }
    const std::uint64_t rows = f.height < 0 ? -static_cast<std::int64_t>(f.height) : f.height;
    const std::uint64_t stride = (static_cast<std::uint64_t>(f.width) * f.bitCount + 31) / 32 * 4;
    return stride * rows;
}

bool pictureUsable(const DibFields& f, std::size_t headerBytes, std::size_t pixelBytes) {
    if (headerBytes < kInfoHeaderBytes || headerBytes > kHeaderBufferBytes) return false;
    if (f.size < kInfoHeaderBytes || f.size > headerBytes) return false;
    if (f.compression != kBiRgb && f.compression != kBiBitfields) return pixelBytes > 0;
    const std::uint64_t need = pixelBytesNeeded(f);
    return need != 0 && need <= pixelBytes;
}

}  // namespace hrlspi
