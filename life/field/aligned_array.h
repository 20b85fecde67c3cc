// An owned, cache-line aligned array of trivially copyable values: the grids,
// the vertex arrays and the colour table of a field and its mesh. Aligned so the
// generation step can use whole-vector and streaming stores on them.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

template <class T>
class AlignedArray {
  static_assert(std::is_trivially_copyable<T>::value, "plain values only");

 public:
  static constexpr std::size_t kAlignment = 64;

  AlignedArray() = default;
  AlignedArray(const AlignedArray&) = delete;
  AlignedArray& operator=(const AlignedArray&) = delete;
  AlignedArray(AlignedArray&& other) noexcept : data(other.data), count(other.count) {
    other.data = nullptr;
    other.count = 0;
  }
  AlignedArray& operator=(AlignedArray&& other) noexcept {
    if (this != &other) {
      Free();
      data = other.data;
      count = other.count;
      other.data = nullptr;
      other.count = 0;
    }
    return *this;
  }
  ~AlignedArray() { Free(); }

  // Replaces the contents with `n` uninitialised values (none for 0).
  void Allocate(std::size_t n) {
    Free();
    if (n == 0) return;
    data = static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(kAlignment)));
    count = n;
  }
  void Free() {
    if (data) ::operator delete(data, std::align_val_t(kAlignment));
    data = nullptr;
    count = 0;
  }
  void FillZero() {
    if (data) std::memset(static_cast<void*>(data), 0, count * sizeof(T));
  }
  void Swap(AlignedArray& other) noexcept {
    std::swap(data, other.data);
    std::swap(count, other.count);
  }

  T* get() const { return data; }
  std::size_t size() const { return count; }
  explicit operator bool() const { return data != nullptr; }
  T& operator[](std::size_t i) const { return data[i]; }

 private:
  T* data = nullptr;
  std::size_t count = 0;
};
