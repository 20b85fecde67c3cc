// The name-keyed cache behind the texture and font libraries, with a
// library whose factory records what it was asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gl/named_library.h"

namespace {

class Thing : public IRefCountPtrBase, public NamedObject {
 public:
  explicit Thing(int serial) : serial(serial) {}
  int serial;
};

class ThingLibrary : public NamedLibraryBase<ThingLibrary, Thing, unsigned> {
 public:
  bool Create(CRefCountPtrT<Thing>& out, unsigned parameter, const std::string& name) {
    requests.push_back(name + "#" + std::to_string(parameter));
    if (parameter == 99) return false;
    out.Adopt(new Thing(static_cast<int>(requests.size())));
    return true;
  }
  std::vector<std::string> requests;
};

CRefCountPtrT<ThingLibrary> NewLibrary() {
  CRefCountPtrT<ThingLibrary> library;
  library.Adopt(new ThingLibrary());
  return library;
}

TEST(NamedLibrary, SecondGetSharesTheFirstObjectWithoutCreating) {
  auto library = NewLibrary();
  CRefCountPtrT<Thing> a, b;
  ASSERT_TRUE(library->Get("tex", a, 0, true));
  ASSERT_TRUE(library->Get("tex", b, 5, true));
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(library->requests, (std::vector<std::string>{"tex#0"}));
  EXPECT_EQ(a->GetName(), "tex");
  EXPECT_EQ(a->RefCount(), 3);  // the library's entry and two handles
}

TEST(NamedLibrary, KeysAreCaseSensitive) {
  auto library = NewLibrary();
  CRefCountPtrT<Thing> lower, upper;
  ASSERT_TRUE(library->Get("res:a", lower, 0, true));
  ASSERT_TRUE(library->Get("RES:A", upper, 0, true));
  EXPECT_NE(lower.get(), upper.get());
  EXPECT_EQ(library->Count(), 2);
  EXPECT_EQ(library->Find("res:a"), 0);
  EXPECT_EQ(library->Find("RES:A"), 1);
  EXPECT_EQ(library->Find("Res:a"), -1);
}

TEST(NamedLibrary, WithoutLoadingAMissReturnsFalseAndCreatesNothing) {
  auto library = NewLibrary();
  CRefCountPtrT<Thing> handle;
  handle.Adopt(new Thing(0));
  EXPECT_FALSE(library->Get("absent", handle, 0, false));
  EXPECT_FALSE(handle);
  EXPECT_TRUE(library->requests.empty());
  EXPECT_EQ(library->Count(), 0);
}

TEST(NamedLibrary, AFailedCreateStoresNothingSoTheNextGetTriesAgain) {
  auto library = NewLibrary();
  CRefCountPtrT<Thing> handle;
  EXPECT_FALSE(library->Get("broken", handle, 99, true));
  EXPECT_EQ(library->Count(), 0);
  EXPECT_TRUE(library->Get("broken", handle, 0, true));
  EXPECT_EQ(library->requests, (std::vector<std::string>{"broken#99", "broken#0"}));
}

TEST(NamedLibrary, AddReplacesAndClearReleasesEveryEntry) {
  auto library = NewLibrary();
  CRefCountPtrT<Thing> first(new Thing(1));
  CRefCountPtrT<Thing> second(new Thing(2));
  library->Add("key", first.get());
  EXPECT_EQ(first->RefCount(), 2);
  library->Add("key", second.get());
  EXPECT_EQ(library->Count(), 1);
  EXPECT_EQ(first->RefCount(), 1);
  EXPECT_EQ(second->RefCount(), 2);
  EXPECT_EQ(second->GetName(), "key");
  CRefCountPtrT<Thing> got;
  ASSERT_TRUE(library->Get("key", got, 0, false));
  EXPECT_EQ(got->serial, 2);
  got.Reset();
  library->Clear();
  EXPECT_EQ(library->Count(), 0);
  EXPECT_EQ(second->RefCount(), 1);
  EXPECT_EQ(library->Find("key"), -1);
}

}  // namespace
