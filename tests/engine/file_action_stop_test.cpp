#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "actions/FileAction.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// Asks to stop once a number of files were reached.
class TStopAfter final : public IActionPrompts {
public:
    explicit TStopAfter(int files) : FLeft(files) {}
    bool ConfirmOverwrite(const std::string&) override { return false; }
    bool StopRequested() override { return FLeft-- <= 0; }

private:
    int FLeft;
};

TActionStep StepFor(const std::string& fileName, uint32_t position) {
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0)
        throw std::runtime_error("no file " + fileName);
    TActionStep step;
    step.FilePosition = position;
    step.Source = fileName;
    step.Size = status.st_size;
    step.Date = FileTimeToDateTime(status.st_mtime, CurrentUtcOffsetSeconds());
    return step;
}

TEST(FileActionStop, FilesAfterTheStopAreNotTouched) {
    for (const TFileOperation operation : {TFileOperation::Delete, TFileOperation::Move}) {
        test::TTempDir dir;
        TActionPlan plan;
        plan.Operation = operation;
        plan.Destination = dir / "spare/";
        for (const char* name : {"c", "b", "a"}) {
            plan.Steps.push_back(
                StepFor(dir.WriteFile(name), 2 - static_cast<uint32_t>(plan.Steps.size())));
            plan.Steps.back().Target = plan.Destination + name;
        }
        TStopAfter prompts(1);
        const TActionOutcome outcome = ExecuteFileAction(plan, prompts);
        ASSERT_EQ(outcome.Results.size(), 1u);
        EXPECT_EQ(outcome.Results[0].Outcome, TStepOutcome::Done) << outcome.Results[0].Error;
        EXPECT_EQ(outcome.DonePositions(), (std::vector<uint32_t>{2}));
        EXPECT_FALSE(outcome.AnyFailed());
        EXPECT_FALSE(fs::exists(dir / "c"));
        EXPECT_TRUE(fs::exists(dir / "b") && fs::exists(dir / "a"));
        EXPECT_FALSE(fs::exists(dir / "spare/b") || fs::exists(dir / "spare/a"));
    }
}

} // namespace
} // namespace quorvane
