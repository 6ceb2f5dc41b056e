#include "engine/foundation/ObjectManager.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KeystrelEngine;

namespace {

// An owned object that records its own deletion, so double or missing deletes show.
class Tracked
{
public:
    explicit Tracked(std::vector<int>& deleted, int id) : m_deleted(deleted), m_id(id) {}
    virtual ~Tracked() { m_deleted.push_back(m_id); }

private:
    std::vector<int>& m_deleted;
    int m_id;
};

std::vector<Tracked*> Slots(const ObjectManager<Tracked>& registry)
{
    return registry.GetSlots();
}

} // namespace

TEST(ObjectManager, FreedSlotIsReusedLastFreedFirst)
{
    std::vector<int> deleted;
    Tracked a(deleted, 1), b(deleted, 2), c(deleted, 3), d(deleted, 4), e(deleted, 5);
    {
        ObjectManager<Tracked> registry;
        for (Tracked* object : {&a, &b, &c, &d, &e})
            registry.Add(object);
        EXPECT_TRUE(registry.Remove(&b));
        EXPECT_TRUE(registry.Remove(&d));
        EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&a, nullptr, &c, nullptr, &e}));

        Tracked* f = new Tracked(deleted, 6);
        Tracked* g = new Tracked(deleted, 7);
        Tracked* h = new Tracked(deleted, 8);
        registry.Add(f); // d's slot was freed last
        registry.Add(g);
        registry.Add(h); // no free slot left: appended
        EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&a, g, &c, f, &e, h}));
        EXPECT_EQ(registry.GetLiveCount(), 6u);
        for (Tracked* object : {&a, &c, &e})
            EXPECT_TRUE(registry.Remove(object));
    }
    EXPECT_EQ(deleted, (std::vector<int>{7, 6, 8})); // the registered objects, once each, in slot order
}

TEST(ObjectManager, CompactsOnlyWhenFewerThanHalfTheSlotsAreLive)
{
    std::vector<int> deleted;
    Tracked a(deleted, 1), b(deleted, 2), c(deleted, 3), d(deleted, 4);
    ObjectManager<Tracked> registry;
    registry.Add(&a);
    registry.Add(&b);
    EXPECT_TRUE(registry.Remove(&a)); // 1 x 2 < 2 is false: the free slot stays
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{nullptr, &b}));
    EXPECT_TRUE(registry.Remove(&b)); // 0 < 2: everything goes, the free stack too
    EXPECT_TRUE(registry.GetSlots().empty());
    registry.Add(&c);
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&c}));

    registry.Add(&a);
    registry.Add(&b);
    registry.Add(&d);
    EXPECT_TRUE(registry.Remove(&a));
    EXPECT_TRUE(registry.Remove(&d)); // 2 x 2 < 4 is false
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&c, nullptr, &b, nullptr}));
    EXPECT_TRUE(registry.Remove(&c)); // 1 x 2 < 4: packed, order kept
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&b}));
    registry.Add(&a); // the stack was emptied with the compaction: appended
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&b, &a}));
    EXPECT_EQ(registry.GetLiveCount(), 2u);
    registry.Remove(&a);
    registry.Remove(&b);
    EXPECT_TRUE(deleted.empty());
}

TEST(ObjectManager, UnknownAndNullObjectsChangeNothing)
{
    std::vector<int> deleted;
    Tracked a(deleted, 1), b(deleted, 2), outsider(deleted, 3);
    ObjectManager<Tracked> registry;
    registry.Add(nullptr);
    EXPECT_TRUE(registry.GetSlots().empty());
    EXPECT_EQ(registry.GetLiveCount(), 0u);

    registry.Add(&a);
    registry.Add(&b);
    EXPECT_FALSE(registry.Remove(&outsider));
    EXPECT_FALSE(registry.Remove(nullptr));
    EXPECT_EQ(Slots(registry), (std::vector<Tracked*>{&a, &b}));
    EXPECT_TRUE(registry.Remove(&a));
    EXPECT_FALSE(registry.Remove(&a)); // already gone
    EXPECT_EQ(registry.GetLiveCount(), 1u);
    registry.Remove(&b);
    EXPECT_TRUE(deleted.empty());
}
