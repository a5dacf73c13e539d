// Unpacks the engine, which the page carries packed by LZMA (xz's .lzma format: five bytes of
// properties, eight of the unpacked size, the data), with the LZMA SDK's decoder. A module of its
// own, without the C library: it only hands out room in its memory and unpacks.
#include <cstddef>

extern "C" {
#include "lzma/LzmaDec.h"

extern unsigned char __heap_base;  // where the linker leaves the memory free
}

namespace {

constexpr std::size_t kPage = 65536;
constexpr std::size_t kHeader = 13;
std::size_t g_top = reinterpret_cast<std::size_t>(&__heap_base);

}  // namespace

extern "C" {

// `size` bytes after all given before, the memory grown to hold them; null when it cannot grow.
unsigned char* room(std::size_t size) {
    const std::size_t at = g_top;
    const std::size_t end = at + size;
    const std::size_t held = __builtin_wasm_memory_size(0) * kPage;
    if (end > held && __builtin_wasm_memory_grow(0, (end - held + kPage - 1) / kPage) ==
                          static_cast<std::size_t>(-1)) {
        return nullptr;
    }
    g_top = (end + 15) & ~std::size_t{15};
    return reinterpret_cast<unsigned char*>(at);
}

// Whether the .lzma file `packed` unpacked into exactly `size` bytes at `out`.
int unpack(const unsigned char* packed, std::size_t packedSize, unsigned char* out,
           std::size_t size) {
    if (packedSize < kHeader) return 0;
    ISzAlloc alloc{[](void*, std::size_t bytes) -> void* { return room(bytes); },
                   [](void*, void*) {}};
    SizeT written = size;
    SizeT read = packedSize - kHeader;
    ELzmaStatus status{};
    const SRes result = LzmaDecode(out, &written, packed + kHeader, &read, packed, LZMA_PROPS_SIZE,
                                   LZMA_FINISH_END, &status, &alloc);
    return result == SZ_OK && written == size ? 1 : 0;
}

}  // extern "C"
