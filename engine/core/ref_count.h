// Intrusive reference counting for every engine object, and the handles that
// hold one reference each. Portable: no platform headers.
#pragma once

#include <atomic>
#include <cstdint>

// Engine objects are 16-byte aligned; alignas on the base makes plain `new`
// and `delete this` use the aligned allocation functions.
class alignas(16) IRefCountPtrBase {
 public:
  IRefCountPtrBase() = default;
  IRefCountPtrBase(const IRefCountPtrBase&) = delete;
  IRefCountPtrBase& operator=(const IRefCountPtrBase&) = delete;

  // The zero test before OnCreate is not atomic with the increment: an object
  // gets its first reference on one thread before others can see it.
  virtual int32_t AddRef() {
    if (refCount.load(std::memory_order_acquire) == 0) OnCreate();
    return refCount.fetch_add(1, std::memory_order_acq_rel) + 1;
  }

  // Only the thread whose decrement reaches zero runs OnDestroy and the
  // destruction, so the "destroyed" hook still sees a whole object.
  virtual int32_t Release() {
    const int32_t left = refCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
      OnDestroy();
      delete this;
    }
    return left;
  }

  virtual void OnCreate() {}
  virtual void OnDestroy() {}
  virtual ~IRefCountPtrBase() = default;

  int32_t RefCount() const { return refCount.load(std::memory_order_acquire); }

 protected:
  std::atomic<int32_t> refCount{0};
};

template <class T>
class CRefCountPtrT {
 public:
  CRefCountPtrT() = default;
  explicit CRefCountPtrT(T* p) : ptr(p) {
    if (ptr) ptr->AddRef();
  }
  CRefCountPtrT(const CRefCountPtrT& other) : ptr(other.ptr) {
    if (ptr) ptr->AddRef();
  }
  // Take the new reference before giving back the old one, so assigning a
  // handle to itself never drops the object.
  CRefCountPtrT& operator=(const CRefCountPtrT& other) {
    T* incoming = other.ptr;
    if (incoming) incoming->AddRef();
    T* old = ptr;
    ptr = incoming;
    if (old) old->Release();
    return *this;
  }
  virtual ~CRefCountPtrT() { Reset(); }

  void Reset() {
    T* old = ptr;
    ptr = nullptr;
    if (old) old->Release();
  }

  T* get() const { return ptr; }
  T* operator->() const { return ptr; }
  T& operator*() const { return *ptr; }
  explicit operator bool() const { return ptr != nullptr; }

  // Stores a freshly constructed object, then takes the handle's reference
  // (the singleton creation order: the pointer is visible before OnCreate).
  void Adopt(T* fresh) {
    Reset();
    ptr = fresh;
    if (ptr) ptr->AddRef();
  }

 protected:
  T* ptr = nullptr;
};
