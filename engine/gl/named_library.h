// Name-keyed caches of engine objects (textures, fonts): an object is made
// once by the library's factory and shared through handles afterwards.
// Portable: no platform headers.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/core/ref_count.h"

// The name an object is kept under in its library.
class NamedObject {
 public:
  const std::string& GetName() const { return objectName; }
  void SetName(const std::string& name) { objectName = name; }

 private:
  std::string objectName;
};

// Library derives from NamedLibraryBase<Library, Object, Param> and provides
//   bool Create(CRefCountPtrT<Object>& out, Param parameter, const std::string& name);
// which makes a new object (its handle holding the one reference) or fails.
template <class Library, class Object, class Param>
class NamedLibraryBase : public IRefCountPtrBase {
 public:
  struct Entry {
    std::string name;
    CRefCountPtrT<Object> object;
  };

  ~NamedLibraryBase() override { Clear(); }

  // Index of the entry with exactly this name (case-sensitive), or -1.
  int32_t Find(const std::string& name) const {
    std::lock_guard<std::recursive_mutex> guard(lock);
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].name == name) return static_cast<int32_t>(i);
    return -1;
  }

  // Stores `object` under `name`, replacing what was stored there, and names
  // the object after its key.
  void Add(const std::string& name, Object* object) {
    {
      std::lock_guard<std::recursive_mutex> guard(lock);
      const int32_t index = Find(name);
      if (index >= 0) {
        entries[static_cast<size_t>(index)].object = CRefCountPtrT<Object>(object);
      } else {
        entries.push_back(Entry{name, CRefCountPtrT<Object>(object)});
      }
    }
    if (object) object->SetName(name);
  }

  void Clear() {
    std::vector<Entry> released;
    {
      std::lock_guard<std::recursive_mutex> guard(lock);
      released.swap(entries);
    }
    // Released outside the lock: an object's destruction may use the library.
  }

  int32_t Count() const {
    std::lock_guard<std::recursive_mutex> guard(lock);
    return static_cast<int32_t>(entries.size());
  }

  // The object stored under `name`; on a miss and with `allowLoad`, the one
  // the library's Create makes, which is stored first. On success `handle`
  // holds a new reference for the caller; on failure it is empty and
  // nothing is stored, so a later call tries again.
  bool Get(const std::string& name, CRefCountPtrT<Object>& handle, Param parameter, bool allowLoad) {
    handle.Reset();
    int32_t index = Find(name);
    if (index < 0) {
      if (!allowLoad) return false;
      CRefCountPtrT<Object> created;
      if (!static_cast<Library*>(this)->Create(created, parameter, name) || !created) return false;
      Add(name, created.get());
      index = Find(name);
      if (index < 0) return false;
    }
    std::lock_guard<std::recursive_mutex> guard(lock);
    handle = entries[static_cast<size_t>(index)].object;
    return static_cast<bool>(handle);
  }

 protected:
  std::vector<Entry> entries;
  mutable std::recursive_mutex lock;
};
