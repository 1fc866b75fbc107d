// The table that fails every step of a writer in turn: a run without a fault counts the calls of
// each step, then each call of each step is failed once, in a fresh folder, with one of several
// errno values. After each fault the folder must be as the row expects (by default exactly as
// before: old files intact, no temporary file or intent record left) and the reason the user is
// shown must name the error.
#pragma once

#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace kal::test {

using FolderSnapshot = std::map<std::string, std::string>; // file name -> bytes, hidden files too

inline FolderSnapshot snapshot(const TempFolder& dir)
{
    FolderSnapshot files;
    for (const char* wildcard : {"*", ".*"})
        for (const std::string& name : files::listFiles(dir.path(), wildcard))
            if (name != files::kFolderLockName)
                files[name] = dir.read(name);
    return files;
}

// The steps of an atomic write, and of a deletion.
inline const std::vector<FileStep> kWriteSteps = {FileStep::Open, FileStep::Write, FileStep::Fsync, FileStep::Close,
                                                  FileStep::Rename};
inline const std::vector<FileStep> kDeleteSteps = {FileStep::Unlink};

struct Writer {
    const char* name;
    std::function<void(const TempFolder&)> arrange;
    // Runs the writer; gives the reason the user would see, empty on success.
    std::function<std::string(const TempFolder&, files::FileOps&)> act;
    // The steps failed in turn; each must be called at least once by the writer.
    std::vector<FileStep> steps = kWriteSteps;
    // The folder after a fault at `call` of `step`, for a writer whose files are independent of
    // one another; none: exactly as before.
    std::function<FolderSnapshot(FolderSnapshot before, FileStep step, int call)> afterFault = nullptr;
};

// Runs the table; gives the number of faults injected.
inline int failEveryStep(const std::vector<Writer>& writers)
{
    static const int kErrors[] = {ENOSPC, EIO, EACCES, EROFS, EDQUOT};
    int injected = 0;
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        FaultyFileOps counting;
        {
            TempFolder dir;
            writer.arrange(dir);
            EXPECT_EQ(writer.act(dir, counting), "");
        }
        for (FileStep step : writer.steps) {
            EXPECT_GT(counting.calls(step), 0) << stepName(step);
            for (int call = 1; call <= counting.calls(step); ++call) {
                const int error = kErrors[(call + static_cast<int>(step)) % std::size(kErrors)];
                SCOPED_TRACE(std::string(stepName(step)) + " call " + std::to_string(call) + ": " +
                             files::systemErrorText(error));
                TempFolder dir;
                writer.arrange(dir);
                const FolderSnapshot before = snapshot(dir);
                FaultyFileOps faulty(step, call, error);
                const std::string reason = writer.act(dir, faulty);
                EXPECT_TRUE(faulty.injected());
                ++injected;
                EXPECT_NE(reason.find(files::systemErrorText(error)), std::string::npos) << reason;
                EXPECT_EQ(snapshot(dir), writer.afterFault ? writer.afterFault(before, step, call) : before);
            }
        }
    }
    return injected;
}

// The tally, for the test log and the XML report.
inline void reportInjected(int injected)
{
    ::testing::Test::RecordProperty("faults_injected", injected);
    std::printf("faults injected: %d\n", injected);
}

} // namespace kal::test
