#include <gtest/gtest.h>

#include "app/PipelineController.h"
#include "app/PipelineMessages.h"
#include "testsupport/RecordingView.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

class PipelineController : public ::testing::Test {
protected:
    PipelineController() {
        settings.Criteria.IncludeFolders = {dir.Path()};
        settings.Criteria.CompareMode = cmCrc;
        settings.BlockDelete = false;
        // Two groups by content among same-named files, and one file without a partner.
        dir.WriteFile("a/same.txt", "same");
        dir.WriteFile("b/same.txt", "same");
        dir.WriteFile("c/same.txt", "emas");
        dir.WriteFile("a/pair.bin", "pair!");
        dir.WriteFile("b/pair.bin", "pair!");
        dir.WriteFile("a/alone.txt", "alone");
    }

    void RunUntilIdle() {
        queue.RunUntil([&] { return !controller.WorkerRunning(); });
        queue.Drain();
    }

    std::vector<std::string> ShownNames() const {
        std::vector<std::string> names;
        const TResultView& view = controller.Results().View();
        for (uint32_t record : view.PassingRecords())
            names.push_back(view.File(record).FullName().substr(dir.Path().size()));
        return names;
    }

    test::TTempDir dir;
    TSimpleQueue queue;
    test::TRecordingView view{queue};
    TSettings settings;
    TPipelineController controller{queue, view, settings};
};

TEST_F(PipelineController, SearchRunsThroughSortAndClassificationBackToIdle) {
    controller.SearchExecute();
    EXPECT_TRUE(controller.Busy());
    EXPECT_FALSE(view.Idle);
    RunUntilIdle();

    EXPECT_FALSE(controller.Busy());
    EXPECT_TRUE(view.Idle);
    EXPECT_FALSE(view.WaitFormShown);
    EXPECT_EQ(view.WaitTexts, (std::vector<std::string>{"Sorting files", "Classifying files"}));
    EXPECT_TRUE(view.Messages.empty());
    std::vector<std::string> names = ShownNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"a/pair.bin", "a/same.txt", "b/pair.bin", "b/same.txt"}));
    EXPECT_EQ(view.Panels[spSecond], controller.Results().SummaryText());
    EXPECT_EQ(controller.Results().Summary().Groups, 2u);
}

TEST_F(PipelineController, SaysAtTheEndHowManyFoldersTheSearchCouldNotRead) {
    settings.Criteria.IncludeFolders = {dir.Path(), dir / "gone1", dir / "gone2"};
    controller.SearchExecute();
    RunUntilIdle();
    EXPECT_EQ(controller.Results().Summary().Groups, 2u);
    ASSERT_EQ(controller.UnreadFolders().size(), 2u);
    EXPECT_EQ(view.Panels[spFirst], "2 unread folders");
    EXPECT_EQ(view.Hints[spFirst], "Folders that could not be read:\n" + dir / "gone1/" +
                                       ": No such file or directory\n" + dir / "gone2/" +
                                       ": No such file or directory");

    // Also when nothing at all was found.
    settings.Criteria.IncludeFolders = {dir / "gone1"};
    controller.SearchExecute();
    RunUntilIdle();
    EXPECT_EQ(view.Panels[spFirst], "1 unread folder");

    // A files list was not walked: nothing to say.
    const std::string list = dir.WriteFile("l.qfl", "0000000000000004one?/x/*366F528F\r\n");
    ASSERT_TRUE(controller.LoadFilesList(list));
    RunUntilIdle();
    EXPECT_TRUE(controller.UnreadFolders().empty());
    EXPECT_EQ(view.Panels[spFirst], "");
    EXPECT_EQ(view.Hints[spFirst], "");
}

TEST(UnreadFoldersHint, ListsTheFirstFiveAndCountsTheRest) {
    TUnreadFolders folders;
    for (char c = 'a'; c <= 'g'; ++c)
        folders.push_back({std::string("/") + c + "/", "Permission denied"});
    EXPECT_EQ(UnreadFoldersStatus(folders), "7 unread folders");
    const std::string hint = UnreadFoldersHint(folders);
    EXPECT_NE(hint.find("\n/e/: Permission denied\n... and 2 more"), std::string::npos) << hint;
    EXPECT_EQ(hint.find("/f/"), std::string::npos) << hint;
}

TEST_F(PipelineController, RefusesToSearchWithoutFoldersAndKeepsTheResults) {
    controller.SearchExecute();
    RunUntilIdle();
    settings.Criteria.IncludeFolders.clear();
    controller.SearchExecute();
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(view.Messages[0].Text, kNoFoldersText);
    EXPECT_FALSE(controller.Busy());
    EXPECT_EQ(controller.Results().View().RowCount(), 4u);
}

TEST_F(PipelineController, WarnsAboutSearchingWithoutComparingUntilTicked) {
    settings.Criteria.CompareMode = cmNone;
    for (bool tick : {false, true, false}) {
        view.TickDontShowAgain = tick;
        controller.SearchExecute();
        RunUntilIdle();
    }
    ASSERT_EQ(view.Messages.size(), 2u) << "the ticked box silences later searches";
    EXPECT_EQ(view.Messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(view.Messages[0].Text, kSearchWithoutComparingText);
    EXPECT_TRUE(settings.DontShowCompareMessage);
}

TEST_F(PipelineController, CancelledSearchLeavesNothingAndANewStartWaitsForTheWorker) {
    controller.SearchExecute();
    controller.SearchExecute(); // the Search action is the cancel command while busy
    EXPECT_FALSE(controller.Busy());
    controller.SearchExecute(); // refused: the cancelled worker has not ended yet
    EXPECT_TRUE(controller.WorkerRunning());
    RunUntilIdle();
    EXPECT_TRUE(controller.Files().Empty());
    EXPECT_EQ(controller.Results().View().RowCount(), 0u);
    EXPECT_TRUE(view.Messages.empty());
}

TEST_F(PipelineController, NoDuplicatesAndNothingFound) {
    settings.Criteria.IncludeFiles = {"alone.txt"};
    controller.SearchExecute();
    RunUntilIdle();
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(view.Messages[0].Text, "No duplicate files found");

    settings.Criteria.IncludeFiles = {"*.none"};
    controller.SearchExecute();
    RunUntilIdle();
    EXPECT_EQ(view.Messages.size(), 1u) << "a search that finds no file says nothing";
    EXPECT_TRUE(view.Idle);
}

TEST_F(PipelineController, FilesListRoundTripAndCancelledSort) {
    controller.SearchExecute();
    RunUntilIdle();
    const std::string list = dir / "result.qfl";
    ASSERT_TRUE(controller.SaveFilesList(list));

    // A cancelled sort classifies nothing.
    ASSERT_TRUE(controller.LoadFilesList(list));
    controller.SearchExecute();
    RunUntilIdle();
    EXPECT_EQ(controller.Results().View().RowCount(), 0u);
    EXPECT_TRUE(view.Idle);

    // Loaded again and left alone, the list gives the same groups without a walk.
    ASSERT_TRUE(controller.LoadFilesList(list));
    EXPECT_FALSE(view.Idle);
    RunUntilIdle();
    EXPECT_EQ(controller.Results().Summary().Groups, 2u);
    EXPECT_EQ(controller.Results().View().RowCount(), 4u);
}

TEST_F(PipelineController, DamagedFilesListChangesNothing) {
    controller.SearchExecute();
    RunUntilIdle();
    dir.WriteFile("bad.qfl", "0000000000000001a?/x/*366F528F\r\nnot a line\r\n");
    ASSERT_TRUE(controller.LoadFilesList(dir / "bad.qfl"));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_NE(view.Messages[0].Text.find("line 2"), std::string::npos);
    EXPECT_TRUE(view.Idle);
    EXPECT_EQ(controller.Files().Count(), 6u);
    EXPECT_EQ(controller.Results().View().RowCount(), 4u);
}

TEST_F(PipelineController, GroupOrderChangeRegroupsWithoutAWalk) {
    controller.SearchExecute();
    RunUntilIdle();
    dir.WriteFile("d/new.txt", "same"); // not seen: there is no new walk
    ASSERT_TRUE(controller.ChangeGroupOrder(goSize));
    EXPECT_FALSE(controller.ChangeGroupOrder(goName)) << "refused while the sort runs";
    RunUntilIdle();
    EXPECT_EQ(settings.Criteria.GroupOrder, goSize);
    // By size: "same" x2 + "emas" (4 bytes) and "pair!" x2 + "alone" (5 bytes), split by CRC.
    EXPECT_EQ(controller.Results().Summary().Groups, 2u);
    EXPECT_EQ(controller.Files().Count(), 6u);
}

TEST_F(PipelineController, ComparisonSplitsAGroupAndACancelledOneClearsItsChecksums) {
    settings.Criteria.CompareMode = cmNone;
    settings.DontShowCompareMessage = true;
    controller.SearchExecute();
    RunUntilIdle();
    // By name and size alone, the three same.txt files form one group.
    ASSERT_EQ(controller.Results().View().RowCount(), 5u);
    const std::vector<uint32_t> everyRow{0, 1, 2, 3, 4};

    ASSERT_TRUE(controller.CompareContents(cmMD5, {0}));
    controller.SearchExecute(); // cancel
    RunUntilIdle();
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, kCompareCancelledText);
    for (TFile* file : controller.Files().Items())
        EXPECT_TRUE(file->Checksum.Empty()) << file->FullName();

    ASSERT_TRUE(controller.CompareContents(cmMD5, everyRow));
    RunUntilIdle();
    EXPECT_EQ(controller.Results().View().RowCount(), 4u) << "c/same.txt differs and drops out";
    EXPECT_EQ(controller.Results().View().File(0).Checksum.Text().size(), 32u);
}

// Cancelling the sort that follows a regrouping or a comparison gives back the results shown
// before, classified as they were, with the comparison's cancel message.
TEST_F(PipelineController, CancelledSortOfShownResultsGivesThemBack) {
    settings.Criteria.CompareMode = cmNone;
    settings.DontShowCompareMessage = true;
    controller.SearchExecute();
    RunUntilIdle();
    const std::vector<std::string> before = ShownNames();
    ASSERT_EQ(before.size(), 5u);

    const auto expectPreviousResults = [&](const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(view.Messages.size(), 1u);
        EXPECT_EQ(view.Messages[0].Kind, TMessageKind::Warning);
        EXPECT_EQ(view.Messages[0].Text, kCompareCancelledText);
        EXPECT_EQ(ShownNames(), before);
        EXPECT_EQ(controller.Results().Summary().Groups, 2u);
        EXPECT_EQ(view.Panels[spSecond], controller.Results().SummaryText());
        EXPECT_EQ(settings.Criteria.GroupOrder, goNameSize);
        EXPECT_TRUE(view.Idle);
        EXPECT_FALSE(view.WaitFormShown);
        for (TFile* file : controller.Files().Items())
            EXPECT_TRUE(file->Checksum.Empty()) << file->FullName();
        view.Messages.clear();
    };

    ASSERT_TRUE(controller.ChangeGroupOrder(goSize));
    controller.SearchExecute(); // cancel
    RunUntilIdle();
    expectPreviousResults("regrouping");

    // The comparison of the same.txt group ends; the sort after it is cancelled.
    ASSERT_TRUE(controller.CompareContents(cmMD5, {0, 1, 2, 3, 4}));
    queue.RunUntil([&] { return view.WaitTexts.back() == kSortingText; });
    controller.SearchExecute(); // cancel
    RunUntilIdle();
    expectPreviousResults("comparison");
}

TEST_F(PipelineController, ShutdownAwaitsEachKindOfWorker) {
    const auto closeWhile = [&](const std::function<void(TPipelineController&)>& start) {
        TSimpleQueue q;
        test::TRecordingView v{q};
        TSettings s = settings;
        auto c = std::make_unique<TPipelineController>(q, v, s);
        c->SearchExecute();
        q.RunUntil([&] { return !c->WorkerRunning(); });
        start(*c);
        EXPECT_TRUE(c->WorkerRunning());
        c->Shutdown();
        EXPECT_FALSE(c->WorkerRunning());
        c.reset();
        q.Drain(); // nothing may be left that points at the controller
    };
    closeWhile([](TPipelineController& c) { c.SearchExecute(); });
    closeWhile([&](TPipelineController& c) { c.ChangeGroupOrder(goName); });
    closeWhile([](TPipelineController& c) { c.CompareContents(cmCrc, {0, 1}); });
}

} // namespace
} // namespace quorvane
