#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "tests/support/ManualScheduler.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A repeater sheet showing a site: it answers the site query with (site, 0).
struct SiteSheet {
    intptr_t site;
    int queries = 0;
};

void AnswerSite(void* user, const cmcEvent& ev) {
    auto* sheet = static_cast<SiteSheet*>(user);
    if (ev.type != evQuerySite) return;
    ++sheet->queries;
    EXPECT_EQ(ev.mode, evModeSentWithAnswer);
    gEvMan->Answer(sheet->site, 0);
}

class CurrentSiteTest : public ::testing::Test {
protected:
    CurrentSiteTest() {
        sched.Install();
        bus = std::make_unique<cmcEvMan>();
        gEvMan = bus.get();
    }
    ~CurrentSiteTest() override {
        gEvMan = nullptr;
        bus.reset();
        sched.Advance(1);
    }
    plat::ManualScheduler sched;
    std::unique_ptr<cmcEvMan> bus;
};

TEST_F(CurrentSiteTest, IsTheFirstAnswerToTheSiteQuery) {
    SiteSheet first{7}, second{3};
    bus->AddListener(&AnswerSite, &second);
    bus->AddListener(&AnswerSite, &first); // called first
    EXPECT_EQ(GetCurrentSite(), 7);
    EXPECT_EQ(first.queries, 1);
    EXPECT_EQ(second.queries, 1);
}

TEST_F(CurrentSiteTest, IsZeroWhenNobodyAnswersOrThereIsNoBus) {
    EXPECT_EQ(GetCurrentSite(), 0);
    gEvMan = nullptr;
    EXPECT_EQ(GetCurrentSite(), 0);
}

} // namespace
