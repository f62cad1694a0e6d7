#include "Screenshot.h"

#include "framework/win/DC.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace orv::shot {

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = ::crc32(0L, out.data() + typeAt, static_cast<uInt>(data.size() + 4));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// The image rows, each behind its filter byte (0, none), as one zlib stream.
bool Deflate(int width, int height, const unsigned char* rgb, std::vector<unsigned char>& out)
{
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (rowBytes + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const unsigned char* row = rgb + static_cast<size_t>(y) * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    uLongf size = ::compressBound(static_cast<uLong>(raw.size()));
    out.resize(size);
    if (::compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK)
        return false;
    out.resize(size);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool WritePng(const std::string& path, int width, int height, const unsigned char* rgb)
{
    std::vector<unsigned char> compressed;
    if (width <= 0 || height <= 0 || !Deflate(width, height, rgb, compressed))
        return false;
    std::vector<unsigned char> png {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit truecolour
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", {});

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    return std::fclose(file.release()) == 0 && written;
}

bool WriteWindowPng(HWND wnd, const std::string& path)
{
    RECT rect {};
    if (!::GetWindowRect(wnd, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;

    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap dib;
    CDC memory;
    if (!dib.Attach(::CreateDIBSection(CClientDC(nullptr), &info, DIB_RGB_COLORS, &bits, nullptr, 0)) ||
        !memory.CreateCompatibleDC(nullptr))
        return false;
    {
        const CSelectScope selection(memory, dib);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        memory.BitBlt(0, 0, width, height, CWindowDC(wnd), 0, 0, SRCCOPY);
        ::GdiFlush();
    }

    // Blue-green-red-unused to red-green-blue.
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = pixels[i * 4 + 2];
        rgb[i * 3 + 1] = pixels[i * 4 + 1];
        rgb[i * 3 + 2] = pixels[i * 4];
    }
    return WritePng(path, width, height, rgb.data());
}

} // namespace orv::shot
