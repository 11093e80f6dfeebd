#include "framework/Document.h"
#include "framework/UpdateHints.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct RecordingView : IView {
    void OnUpdate(IView*, int hint, const CUpdateData* data) override {
        hints.push_back(hint);
        lastData = data;
        if (onUpdate)
            onUpdate();
    }
    std::vector<int> hints;
    const CUpdateData* lastData = nullptr;
    std::function<void()> onUpdate;
};

} // namespace

// Catches the sender told of its own change, a view told twice, a closed view told after it left.
TEST(DocumentTest, UpdatesEveryViewButTheSenderAndSurvivesViewsLeaving) {
    CDocument doc;
    RecordingView a, b, c;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&b); // a view is told once however often it is added
    doc.AddView(&c);
    CUpdateData data;

    doc.UpdateAllViews(&a, UpdateHint::kNextRecordNameChanged, &data);
    EXPECT_TRUE(a.hints.empty());
    EXPECT_EQ(b.hints, std::vector<int>{12});
    EXPECT_EQ(c.lastData, &data);

    // A view that closes another one while being told: the closed one is not told any more.
    b.onUpdate = [&] { doc.RemoveView(&c); };
    doc.UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
    EXPECT_EQ(a.hints, std::vector<int>{1});
    EXPECT_EQ(c.hints.size(), 1u);
    EXPECT_EQ(doc.GetViews().size(), 2u);
}
