#include "wizard/WizardRules.h"
#include "installer/SetupAsyncInstallProcessIF.h"
#include "wizard/WizardNavigator.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

namespace {

using K = WizardPageKind;

WizardPackageFacts Package(const wchar_t* name, const wchar_t* id, const wchar_t* type = L"msi",
                           bool serverConfiguration = false) {
    return {name, id, type, serverConfiguration};
}

const WizardPackageFacts kMainServer = Package(L"Halvora Server 10.1", L"HV::Z", L"msi", true);
const WizardPackageFacts kCompanion = Package(L"Kestrum Server", L"KS::A", L"msi", true);
const WizardPackageFacts kDesktop = Package(L"Zorvex Designer", L"QF::D");
const WizardPackageFacts kTool = Package(L"Tool", L"TL::A");

struct PageListCase {
    const char* name;
    std::vector<WizardPackageFacts> packages;
    bool uninstall;
    std::vector<WizardPageKind> expected;
};

} // namespace

TEST(WizardPageList, EveryConditionDecidesItsSlot) {
    const std::vector<PageListCase> cases = {
        {"main server and companion: no sub-packages page",
         {kMainServer, kCompanion},
         false,
         {K::Welcome, K::HVOptions, K::Mosquitto, K::SystemIntegrity, K::Unpack, K::ServiceConfiguration,
          K::Install, K::Finish}},
        {"three packages: sub-packages page second",
         {kMainServer, kCompanion, kTool},
         false,
         {K::Welcome, K::SubPackages, K::HVOptions, K::Mosquitto, K::SystemIntegrity, K::Unpack,
          K::ServiceConfiguration, K::Install, K::Finish}},
        {"uninstall drops the service configuration page",
         {kMainServer, kCompanion},
         true,
         {K::Welcome, K::HVOptions, K::Mosquitto, K::SystemIntegrity, K::Unpack, K::Install, K::Finish}},
        {"single msi package: empty slot before the finish page",
         {kDesktop},
         false,
         {K::Welcome, K::SystemIntegrity, K::WebView2, K::Unpack, K::Install, K::Empty, K::Finish}},
        {"installer type without regard to case",
         {Package(L"Tool", L"TL::A", L"MSI")},
         false,
         {K::Welcome, K::SystemIntegrity, K::Unpack, K::Install, K::Empty, K::Finish}},
        {"taxonomy installer: non-msi page, no empty slot",
         {Package(L"Taxonomy", L"TX::A", L"Taxonomy")},
         false,
         {K::Welcome, K::SystemIntegrity, K::Unpack, K::NonMSIInstall, K::Finish}},
        {"unknown installer type: no install page",
         {Package(L"Other", L"OT::A", L"exe")},
         false,
         {K::Welcome, K::SystemIntegrity, K::Unpack, K::Finish}},
        {"companion carried: no WebView2 page",
         {kDesktop, kCompanion},
         false,
         {K::Welcome, K::SystemIntegrity, K::Unpack, K::ServiceConfiguration, K::Install, K::Finish}},
        {"WebView2 by product name",
         {Package(L"Pallodar Studio", L"ZZ::A"), kTool},
         false,
         {K::Welcome, K::SystemIntegrity, K::WebView2, K::Unpack, K::Install, K::Finish}},
        {"prefix tests count letter case",
         {Package(L"Lower", L"qf::A"), kTool},
         false,
         {K::Welcome, K::SystemIntegrity, K::Unpack, K::Install, K::Finish}},
        {"main line server as a later package",
         {kTool, Package(L"Halvora Server", L"HV::Z")},
         false,
         {K::Welcome, K::HVOptions, K::Mosquitto, K::SystemIntegrity, K::Unpack, K::Install, K::Finish}},
    };
    for (const PageListCase& c : cases) {
        const std::vector<WizardPageKind> pages = BuildWizardPageList(c.packages, c.uninstall);
        EXPECT_EQ(pages, c.expected) << c.name;
        EXPECT_LE(pages.size(), kWizardPageSlots) << c.name;
        EXPECT_EQ(FinishIndexOf(pages), static_cast<int>(pages.size()) - 1) << c.name;
    }
}

TEST(WizardPageList, FlagPassStopsAtTheMainLineServer) {
    const WizardPackageFacts workflow = Package(L"Gavrin Server Advanced Edition", L"GV::A");
    EXPECT_TRUE(ComputeWizardFlags({workflow, kMainServer}).workflowServerAdvanced);
    EXPECT_TRUE(ComputeWizardFlags({workflow, kMainServer}).mainLineServerPresent);
    EXPECT_FALSE(ComputeWizardFlags({kMainServer, workflow}).workflowServerAdvanced);
    EXPECT_FALSE(ComputeWizardFlags({Package(L"Gavrin Server", L"GV::B")}).workflowServerAdvanced);
    EXPECT_TRUE(ComputeWizardFlags({kTool, kCompanion}).hasServerConfiguration);
    EXPECT_FALSE(ComputeWizardFlags({kTool}).hasServerConfiguration);
}

TEST(WizardRules, InstallerErrorTableAndZeroKeepsTheResult) {
    const std::vector<std::pair<int32_t, int32_t>> table = {{1602, 3}, {1620, 1}, {1633, 10},
                                                            {1638, 8}, {1603, 2}, {-1, 2}};
    for (const auto& [error, code] : table) {
        SetupResult result;
        ApplyInstallerResult(result, error);
        EXPECT_EQ(result.code, code) << error;
        EXPECT_EQ(result.installerError, error);
        EXPECT_FALSE(result.reported);
    }
    SetupResult kept;
    kept.Set(8, 1638, true);
    ApplyInstallerResult(kept, 0);
    EXPECT_EQ(kept.code, 8);
    EXPECT_TRUE(kept.reported);
}

TEST(WizardRules, ModePredicates) {
    struct Row {
        bool uninstall, repair, installed;
        bool modify, fresh;
    };
    for (const Row& r : std::vector<Row>{{false, false, false, false, true},
                                         {false, false, true, true, false},
                                         {true, false, true, false, false},
                                         {false, true, false, false, false}}) {
        const SetupMode mode{r.uninstall, r.repair, r.installed};
        EXPECT_EQ(mode.IsModify(), r.modify);
        EXPECT_EQ(mode.IsFreshInstall(), r.fresh);
        EXPECT_FALSE(mode.IsModify() && mode.IsFreshInstall());
    }
    EXPECT_TRUE(IsFullUserInterface(5));
    EXPECT_TRUE(IsFullUserInterface(5 | 0x80));
    EXPECT_FALSE(IsFullUserInterface(4));
    EXPECT_FALSE(IsFullUserInterface(3));
    EXPECT_FALSE(IsFullUserInterface(2));
}

namespace {

// Records every call as "<page>:<operation>" and the host's actions, in order.
struct Journal {
    std::vector<std::string> lines;
};

class FakePage : public WizardPageIF {
public:
    FakePage(std::string name, Journal& journal) : name_(std::move(name)), journal_(journal) {}
    PageStep Activate() override {
        const Call call(*this);
        journal_.lines.push_back(name_ + ":activate");
        if (onActivate)
            onActivate();
        return activate;
    }
    void Deactivate() override {
        const Call call(*this);
        journal_.lines.push_back(name_ + ":deactivate");
    }
    PageStep QueryNext() override {
        const Call call(*this);
        return next;
    }
    bool QueryCancel() override {
        const Call call(*this);
        if (onCancel)
            onCancel();
        return cancel;
    }
    PageStep QueryBack() override {
        const Call call(*this);
        return back;
    }

    PageStep activate = PageStep::Stay, next = PageStep::Next, back = PageStep::Back;
    bool cancel = true;
    std::function<void()> onActivate, onCancel;
    // The deepest nesting of calls into pages seen so far, shared by the pages of one wizard.
    int* depth = nullptr;
    int* deepest = nullptr;

private:
    struct Call {
        explicit Call(FakePage& page) : page_(page) {
            if (page_.depth && ++*page_.depth > *page_.deepest)
                *page_.deepest = *page_.depth;
        }
        ~Call() {
            if (page_.depth)
                --*page_.depth;
        }
        FakePage& page_;
    };

    std::string name_;
    Journal& journal_;
};

class FakeHost : public WizardNavigationHostIF {
public:
    explicit FakeHost(Journal& journal) : journal_(journal) {}
    bool HasUnreportedFailure() override { return result.NeedsReport(); }
    void ReportResult() override {
        result.reported = true;
        journal_.lines.push_back("report");
    }
    void ShowForFinish() override { journal_.lines.push_back("show"); }
    void EnableBack(bool enable) override { backEnabled = enable; }
    void EndWizard(bool ok) override { journal_.lines.push_back(ok ? "end:ok" : "end:cancel"); }

    SetupResult result;
    bool backEnabled = false;

private:
    Journal& journal_;
};

// Welcome, Unpack, Install, (empty), Finish: the single-package layout.
struct Wizard {
    Journal journal;
    FakeHost host{journal};
    FakePage welcome{"welcome", journal}, unpack{"unpack", journal}, install{"install", journal},
        finish{"finish", journal};
    WizardNavigator navigator{{&welcome, &unpack, &install, nullptr, &finish}, 4, host};
};

} // namespace

TEST(WizardNavigation, NextWalksToTheEmptySlotAndEndsWithOk) {
    Wizard w;
    w.navigator.Start();
    w.navigator.GoNext();
    w.navigator.GoNext();
    EXPECT_FALSE(w.navigator.HasNextPage());
    w.navigator.GoNext();
    EXPECT_EQ(w.journal.lines, (std::vector<std::string>{
                                   "welcome:activate", "welcome:deactivate", "unpack:activate",
                                   "unpack:deactivate", "install:activate", "install:deactivate", "end:ok"}));
    w.navigator.GoNext(); // a late call after the end changes nothing
    EXPECT_EQ(w.journal.lines.back(), "end:ok");
    EXPECT_EQ(w.journal.lines.size(), 7u);
}

TEST(WizardNavigation, RecordedFailureIsReportedOnceAndJumpsToFinish) {
    Wizard w;
    w.navigator.Start();
    w.unpack.onActivate = [&] { ApplyInstallerResult(w.host.result, 1603); };
    w.navigator.GoNext();
    w.navigator.GoNext();
    EXPECT_EQ(w.navigator.CurrentIndex(), 4);
    EXPECT_EQ(w.journal.lines,
              (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "unpack:activate",
                                        "unpack:deactivate", "report", "show", "finish:activate"}));
    EXPECT_EQ(w.host.result.code, 2);
}

TEST(WizardNavigation, RefusedNextActivatesTheSamePageAgainUnlessAFailureMovesOn) {
    Wizard w;
    w.navigator.Start();
    w.welcome.next = PageStep::Stay;
    w.navigator.GoNext();
    EXPECT_EQ(w.navigator.CurrentIndex(), 0);
    EXPECT_EQ(w.journal.lines.back(), "welcome:activate");
    ApplyInstallerResult(w.host.result, 1638);
    w.navigator.GoNext();
    EXPECT_EQ(w.navigator.CurrentIndex(), 4);
    EXPECT_EQ(w.journal.lines.back(), "finish:activate");
}

// The install page of a non-MSI main package stands right before the finish page.
TEST(WizardNavigation, AFailureOnThePageBeforeTheFinishPageShowsIt) {
    Journal journal;
    FakeHost host{journal};
    FakePage welcome{"welcome", journal}, install{"install", journal}, finish{"finish", journal};
    WizardNavigator navigator{{&welcome, &install, &finish}, 2, host};
    install.onActivate = [&] { ApplyInstallerResult(host.result, 1602); };
    navigator.Start();
    navigator.GoNext();
    navigator.GoNext();
    EXPECT_EQ(journal.lines,
              (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "install:activate",
                                        "install:deactivate", "report", "show", "finish:activate"}));
}

TEST(WizardNavigation, FailureOnTheFinishPageEndsTheRun) {
    Wizard w;
    w.navigator.Start();
    ApplyInstallerResult(w.host.result, 1602);
    w.navigator.GoNext(); // to finish
    ApplyInstallerResult(w.host.result, 1603);
    w.finish.next = PageStep::Stay;
    w.navigator.GoNext();
    EXPECT_EQ(w.journal.lines.back(), "end:ok");
}

TEST(WizardNavigation, CancelOnTheFirstPageShowsFinishWithCode3) {
    Wizard w;
    w.welcome.onCancel = [&] { ApplyInstallerResult(w.host.result, 1602); };
    w.navigator.Start();
    w.navigator.CancelWizard();
    EXPECT_EQ(w.host.result.code, 3);
    EXPECT_EQ(w.navigator.CurrentIndex(), 4);
    EXPECT_EQ(w.journal.lines, (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "report",
                                                         "finish:activate"}));
    // Cancel reaching the finish page ends the run with Cancel.
    w.navigator.CancelWizard();
    EXPECT_EQ(w.journal.lines.back(), "end:cancel");
}

TEST(WizardNavigation, RefusedCancelKeepsThePageActive) {
    Wizard w;
    w.navigator.Start();
    w.navigator.GoNext();
    w.unpack.cancel = false;
    w.navigator.CancelWizard();
    EXPECT_EQ(w.navigator.CurrentIndex(), 1);
    EXPECT_EQ(w.journal.lines.back(), "unpack:activate");
}

TEST(WizardNavigation, BackReturnsAndDisablesBackOnPageZeroWhereBackActsAsCancel) {
    Wizard w;
    w.navigator.Start();
    w.navigator.GoNext();
    EXPECT_TRUE(w.host.backEnabled);
    w.navigator.GoBack();
    EXPECT_EQ(w.navigator.CurrentIndex(), 0);
    EXPECT_FALSE(w.host.backEnabled);
    EXPECT_EQ(w.journal.lines.back(), "welcome:activate");

    w.welcome.onCancel = [&] { ApplyInstallerResult(w.host.result, 1602); };
    w.navigator.GoBack();
    EXPECT_EQ(w.navigator.CurrentIndex(), 4);
    EXPECT_EQ(w.host.result.code, 3);

    // A refused Back leaves everything as it is.
    Wizard refused;
    refused.navigator.Start();
    refused.navigator.GoNext();
    refused.unpack.back = PageStep::Stay;
    refused.navigator.GoBack();
    EXPECT_EQ(refused.navigator.CurrentIndex(), 1);
    EXPECT_EQ(refused.journal.lines.back(), "unpack:activate");
}

TEST(WizardNavigation, PagesPassingOnFromActivateWalkTheWholeListFromOneLoop) {
    Wizard w;
    int depth = 0, deepest = 0;
    for (FakePage* page : {&w.welcome, &w.unpack, &w.install, &w.finish}) {
        page->activate = PageStep::Next;
        page->depth = &depth;
        page->deepest = &deepest;
    }
    w.navigator.Start();
    EXPECT_EQ(w.journal.lines.back(), "end:ok");
    EXPECT_TRUE(w.navigator.Ended());
    EXPECT_EQ(deepest, 1); // no page call ran inside another
}

TEST(WizardNavigation, PagesAnsweringOtherThanAgreedMoveTheWizardTheirWay) {
    // A page that gives up in QueryNext goes to the finish page without being asked to cancel.
    Wizard givesUp;
    givesUp.navigator.Start();
    givesUp.navigator.GoNext();
    givesUp.unpack.next = PageStep::Cancel;
    givesUp.unpack.onCancel = [&] { ADD_FAILURE() << "QueryCancel asked"; };
    givesUp.unpack.onActivate = [] {};
    givesUp.host.result.SetResultCode(9);
    givesUp.navigator.GoNext();
    EXPECT_EQ(givesUp.journal.lines,
              (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "unpack:activate",
                                        "unpack:deactivate", "report", "finish:activate"}));

    // Back answered with Next moves forward (the quick install); Cancel from an activation cancels.
    Wizard forward;
    forward.welcome.back = PageStep::Next;
    forward.unpack.activate = PageStep::Cancel;
    forward.navigator.Start();
    forward.navigator.GoBack();
    EXPECT_EQ(forward.journal.lines,
              (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "unpack:activate",
                                        "unpack:deactivate", "finish:activate"}));
}

TEST(WizardNavigation, CancelPressedWhileAPageIsBusyWaitsForItsCallToReturn) {
    Wizard w;
    int depth = 0, deepest = 0;
    for (FakePage* page : {&w.welcome, &w.unpack, &w.install, &w.finish}) {
        page->depth = &depth;
        page->deepest = &deepest;
    }
    // The unpack page pumps messages while its worker runs: Cancel arrives inside its activation.
    w.unpack.activate = PageStep::Next;
    w.unpack.onActivate = [&] { w.navigator.CancelWizard(); };
    w.navigator.Start();
    w.navigator.GoNext();
    EXPECT_EQ(w.journal.lines,
              (std::vector<std::string>{"welcome:activate", "welcome:deactivate", "unpack:activate",
                                        "unpack:deactivate", "finish:activate"}));
    EXPECT_EQ(deepest, 2); // only the page's answer to Cancel ran inside its activation

    // A refused Cancel leaves the activation's own answer standing.
    Wizard refused;
    refused.unpack.activate = PageStep::Next;
    refused.unpack.cancel = false;
    refused.unpack.onActivate = [&] { refused.navigator.CancelWizard(); };
    refused.navigator.Start();
    refused.navigator.GoNext();
    EXPECT_EQ(refused.journal.lines.back(), "install:activate");
}

TEST(AsyncInstallOperation, ExtractThenRepairThenUninstallThenModifyElseInstall) {
    using Op = AsyncInstallOperation;
    struct Row {
        bool extract, repair, uninstall, modify;
        Op expected;
    };
    for (const Row& r : std::vector<Row>{{true, true, true, true, Op::Extract},
                                         {false, true, true, true, Op::Repair},
                                         {false, false, true, true, Op::Uninstall},
                                         {false, false, false, true, Op::Modify},
                                         {false, false, false, false, Op::Install}})
        EXPECT_EQ(ChooseAsyncInstallOperation(r.extract, r.repair, r.uninstall, r.modify), r.expected);
}
