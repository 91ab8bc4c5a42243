#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/StatusMailbox.h"

namespace quorvane {
namespace {

TEST(StatusMailbox, HandsOverTheNewestTextOnce) {
    TStatusMailbox mailbox;
    std::string text = "untouched";
    EXPECT_FALSE(mailbox.TakeStatus(text));
    EXPECT_EQ(text, "untouched");

    mailbox.Status("/home/a/");
    mailbox.Status("/home/b/");
    EXPECT_TRUE(mailbox.TakeStatus(text));
    EXPECT_EQ(text, "/home/b/");
    EXPECT_FALSE(mailbox.TakeStatus(text));

    mailbox.Status("/home/b/"); // the same text again is news: another folder of that name
    EXPECT_TRUE(mailbox.TakeStatus(text));
}

TEST(StatusMailbox, APollingFrontEndSeesWholeTextsAndTheLastOneWhileAWorkerWrites) {
    TStatusMailbox mailbox;
    constexpr int kTexts = 20000;
    const auto textOf = [](int i) {
        return "/folder/" + std::string(i % 97, 'x') + std::to_string(i) + "/";
    };
    std::thread worker([&] {
        for (int i = 1; i <= kTexts; ++i) {
            mailbox.Status(textOf(i));
            mailbox.Count(static_cast<uint64_t>(i));
        }
    });
    std::string text;
    int lastSeen = 0;
    bool whole = true;
    const auto poll = [&] {
        if (!mailbox.TakeStatus(text))
            return;
        const int number = std::stoi(text.substr(text.find_first_of("0123456789")));
        whole = whole && text == textOf(number) && number >= lastSeen;
        lastSeen = number;
    };
    while (mailbox.Count() < kTexts)
        poll();
    worker.join();
    poll();
    EXPECT_TRUE(whole) << "a torn or out-of-order text was seen";
    EXPECT_EQ(text, textOf(kTexts));
    EXPECT_EQ(mailbox.Count(), static_cast<uint64_t>(kTexts));
}

} // namespace
} // namespace quorvane
