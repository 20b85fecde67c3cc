#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"

namespace {
std::vector<std::string> g_events;

class Probe : public IRefCountPtrBase {
 public:
  explicit Probe(std::string id = "probe") : id(std::move(id)) {}
  ~Probe() override { g_events.push_back(id + ":dtor"); }
  void OnCreate() override { g_events.push_back(id + ":create@" + std::to_string(RefCount())); }
  void OnDestroy() override { g_events.push_back(id + ":destroy"); }
  std::string id;
};

struct First : Probe { First() : Probe("first") {} };
struct Last : Probe { Last() : Probe("last") {} };
using FirstHandle = CRefCountPtrT<First>;
using LastHandle = CRefCountPtrT<Last>;
FirstHandle& FirstInstance() { return SingletonInstance<FirstHandle, First, SingletonSlot::LibTexture>(); }
LastHandle& LastInstance() { return SingletonInstance<LastHandle, Last, SingletonSlot::GLWindowSettings>(); }

class HandlesTest : public ::testing::Test {
 protected:
  void SetUp() override { g_events.clear(); }
};
}  // namespace

TEST_F(HandlesTest, LifetimeHooksRunOnceAndInOrder) {
  auto* probe = new Probe();
  {
    CRefCountPtrT<Probe> a(probe);
    EXPECT_EQ(probe->RefCount(), 1);
    CRefCountPtrT<Probe> b(a);
    CRefCountPtrT<Probe> c;
    c = b;
    EXPECT_EQ(probe->RefCount(), 3);
  }
  EXPECT_EQ(g_events, (std::vector<std::string>{"probe:create@0", "probe:destroy", "probe:dtor"}));
}

TEST_F(HandlesTest, SelfAssignmentKeepsTheObjectAlive) {
  CRefCountPtrT<Probe> a(new Probe());
  CRefCountPtrT<Probe>& alias = a;
  a = alias;
  ASSERT_TRUE(a);
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_EQ(g_events.size(), 1u);  // created, never destroyed
}

TEST_F(HandlesTest, AssignmentMovesTheReference) {
  CRefCountPtrT<Probe> a(new Probe("a"));
  CRefCountPtrT<Probe> b(new Probe("b"));
  a = b;
  EXPECT_EQ(b->RefCount(), 2);
  EXPECT_EQ(g_events, (std::vector<std::string>{"a:create@0", "b:create@0", "a:destroy", "a:dtor"}));
  CRefCountPtrT<Probe> empty;
  empty.Reset();  // releasing an empty handle does nothing
  EXPECT_FALSE(empty);
}

TEST_F(HandlesTest, SingletonsAreCreatedOnceAndReleasedInSlotOrder) {
  ReleaseSingletons();
  g_events.clear();
  Last* last = LastInstance().get();   // created first...
  First* first = FirstInstance().get();
  EXPECT_EQ(LastInstance().get(), last);
  EXPECT_EQ(FirstInstance().get(), first);
  EXPECT_EQ(first->RefCount(), 1);
  ReleaseSingletons();                 // ...but its slot is released last
  EXPECT_EQ(g_events, (std::vector<std::string>{"last:create@0", "first:create@0", "first:destroy",
                                                "first:dtor", "last:destroy", "last:dtor"}));
  ReleaseSingletons();                 // empty handles are skipped, not created
  EXPECT_EQ(g_events.size(), 6u);
  EXPECT_FALSE(FirstInstance().get() == nullptr);  // used again: made anew
  ReleaseSingletons();
}
