#include "foundation/cmcBuff.h"

#include "platform/Fatal.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
constexpr int32_t kMaxSize = std::numeric_limits<int32_t>::max();
// A stream read byte by byte would copy on every byte if the front were dropped at once.
constexpr int32_t kCompactAfter = 4096;

[[noreturn]] void OutOfElement() {
    plat::Fatal("Out of cmcBuff element !");
}
} // namespace

cmcBuff::cmcBuff() : storage_(new uint8_t[1]{0}), alloc_(1) {}

cmcBuff::cmcBuff(const cmcBuff& other) : cmcBuff() {
    Assign(other);
}

cmcBuff& cmcBuff::operator=(const cmcBuff& other) {
    Assign(other);
    return *this;
}

std::unique_ptr<uint8_t[]> cmcBuff::Resize(int32_t n) {
    std::unique_ptr<uint8_t[]> retired;
    if (n < 0) return retired;
    if (Capacity() < n) {
        // A quarter of the size on top keeps appends amortised constant.
        int64_t wanted = std::max<int64_t>(1, int64_t(n) + size_ / 4);
        int32_t capacity = int32_t(std::min<int64_t>(wanted, kMaxSize));
        std::unique_ptr<uint8_t[]> grown(new uint8_t[size_t(capacity)]);
        std::memcpy(grown.get(), Data(), size_t(size_));
        std::memset(grown.get() + size_, fill_, size_t(capacity - size_));
        retired = std::move(storage_);
        storage_ = std::move(grown);
        front_ = 0;
        alloc_ = capacity;
    } else if (n > size_) {
        // Room freed by shrinking still holds old bytes; they must not reappear.
        std::memset(Data() + size_, fill_, size_t(n - size_));
    }
    size_ = n;
    return retired;
}

uint8_t* cmcBuff::Extend(int32_t n, std::unique_ptr<uint8_t[]>& retired) {
    if (n < 0 || int64_t(size_) + n > kMaxSize) return nullptr;
    int32_t old = size_;
    retired = Resize(old + n);
    return Data() + old;
}

int32_t cmcBuff::SetSize(int32_t n) {
    Resize(n);
    return size_;
}

uint8_t* cmcBuff::At(int32_t i) {
    if (i < 0 || i >= size_) OutOfElement();
    return Data() + i;
}

const uint8_t* cmcBuff::At(int32_t i) const {
    if (i < 0 || i >= size_) OutOfElement();
    return Data() + i;
}

void cmcBuff::Assign(const cmcBuff& other) {
    Set(other.Data(), other.Size());
}

void cmcBuff::Set(const void* bytes, int32_t n) {
    if (n < 0 || (n > 0 && bytes == nullptr)) return;
    std::unique_ptr<uint8_t[]> retired = Resize(n);
    if (n > 0) std::memmove(Data(), bytes, size_t(n));
}

void cmcBuff::Add(uint8_t byte) {
    AppendFill(byte, 1);
}

void cmcBuff::Append(const void* bytes, int32_t n) {
    if (n <= 0 || bytes == nullptr) return;
    std::unique_ptr<uint8_t[]> retired;
    if (uint8_t* room = Extend(n, retired)) std::memmove(room, bytes, size_t(n));
}

void cmcBuff::AppendBuff(const cmcBuff& other) {
    Append(other.Data(), other.Size());
}

void cmcBuff::AppendFill(uint8_t byte, int32_t n) {
    if (n <= 0) return;
    std::unique_ptr<uint8_t[]> retired;
    if (uint8_t* room = Extend(n, retired)) std::memset(room, byte, size_t(n));
}

void cmcBuff::Fill(uint8_t byte) {
    std::memset(Data(), byte, size_t(size_));
}

int cmcBuff::TakeFront() {
    if (size_ <= 0) return -1;
    int byte = Data()[0];
    ++front_;
    --size_;
    if (front_ > kCompactAfter) Compact();
    return byte;
}

void cmcBuff::Compact() {
    int32_t capacity = std::max<int32_t>(size_, 1);
    std::unique_ptr<uint8_t[]> compacted(new uint8_t[size_t(capacity)]{});
    std::memcpy(compacted.get(), Data(), size_t(size_));
    storage_ = std::move(compacted);
    front_ = 0;
    alloc_ = capacity;
}

void cmcBuff::Clear() {
    storage_.reset(new uint8_t[1]{0});
    front_ = 0;
    size_ = 0;
    alloc_ = 1;
    fill_ = 0;
}
