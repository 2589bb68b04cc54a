#pragma once
#include <cstdint>
#include <memory>

// A growable byte buffer that is also consumed from its front: the serial
// port's queues, the protocol driver's frames and decoded hex text live in it.
// Sizes are 32-bit signed; a request for a size outside 0..INT32_MAX leaves
// the buffer as it was.
class cmcBuff {
public:
    cmcBuff();
    cmcBuff(const cmcBuff& other);
    cmcBuff& operator=(const cmcBuff& other);
    ~cmcBuff() = default;

    // Grows or shrinks to n bytes and returns the new size. Bytes gained
    // take the fill byte; a negative n changes nothing.
    int32_t SetSize(int32_t n);
    int32_t Size() const { return size_; }
    // Bytes available from the front to the end of the storage.
    int32_t Capacity() const { return alloc_ - front_; }

    uint8_t* Data() { return storage_.get() + front_; }
    const uint8_t* Data() const { return storage_.get() + front_; }
    // Address of byte i; an index outside the contents is fatal.
    uint8_t* At(int32_t i);
    const uint8_t* At(int32_t i) const;

    uint8_t FillByte() const { return fill_; }
    void SetFillByte(uint8_t value) { fill_ = value; }

    void Assign(const cmcBuff& other);
    // The sources may lie inside this buffer's own contents.
    void Set(const void* bytes, int32_t n);
    void Add(uint8_t byte);
    void Append(const void* bytes, int32_t n);
    void AppendBuff(const cmcBuff& other);
    void AppendFill(uint8_t byte, int32_t n);
    void Fill(uint8_t byte);

    // The first byte (0..255), removed; -1 when empty.
    int TakeFront();
    // Reallocates to exactly the contents (at least 1 byte), dropping the consumed front.
    void Compact();
    // Frees the storage; the buffer is as after construction.
    void Clear();

private:
    // Makes the size n, keeping the contents; returns the storage it replaced,
    // which the caller keeps alive while it still copies from it.
    std::unique_ptr<uint8_t[]> Resize(int32_t n);
    // Appends n bytes of room (contents unspecified); null when the size would overflow.
    uint8_t* Extend(int32_t n, std::unique_ptr<uint8_t[]>& retired);

    std::unique_ptr<uint8_t[]> storage_;
    int32_t front_ = 0; // consumed bytes before the front
    int32_t size_ = 0;
    int32_t alloc_ = 0; // bytes of storage
    uint8_t fill_ = 0;
};
