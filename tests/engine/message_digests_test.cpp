#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "duplicates/MessageDigests.h"
#include "testsupport/TempDir.h"

namespace {

using namespace quorvane;

std::unique_ptr<TMessageDigest> MakeDigest(const std::string& algorithm) {
    if (algorithm == "MD4")
        return std::make_unique<TMD4>();
    return std::make_unique<TMD5>();
}

std::string DigestOf(const std::string& algorithm, const std::string& message) {
    const auto digest = MakeDigest(algorithm);
    digest->Update(message.data(), message.size());
    digest->Complete();
    return digest->HexDigest();
}

// Bytes (7n + 3) mod 256, so that no two neighbouring bytes are alike.
std::string PatternMessage(std::size_t length) {
    std::string message(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        message[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return message;
}

struct TVector {
    const char* Algorithm;
    std::string Message;
    const char* Hex;
};

const std::string kDigitsTimesEight =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";
const std::string kAlphanumeric = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The test suites of RFC 1320 (MD4) and RFC 1321 (MD5).
const std::vector<TVector> kRfcVectors = {
    {"MD4", "", "31d6cfe0d16ae931b73c59d7e0c089c0"},
    {"MD4", "a", "bde52cb31de33e46245e05fbdbd6fb24"},
    {"MD4", "abc", "a448017aaf21d8525fc10ae87aa6729d"},
    {"MD4", "message digest", "d9130a8164549fe818874806e1c7014b"},
    {"MD4", "abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
    {"MD4", kAlphanumeric, "043f8582f241db351ce627e153e7f0e4"},
    {"MD4", kDigitsTimesEight, "e33b4ddc9c38f2199c3e7b164fcc0536"},
    {"MD5", "", "d41d8cd98f00b204e9800998ecf8427e"},
    {"MD5", "a", "0cc175b9c0f1b6a831c399e269772661"},
    {"MD5", "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"MD5", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"MD5", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"MD5", kAlphanumeric, "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"MD5", kDigitsTimesEight, "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(MessageDigest, RfcTestSuites) {
    for (const TVector& vector : kRfcVectors)
        EXPECT_EQ(DigestOf(vector.Algorithm, vector.Message), vector.Hex)
            << vector.Algorithm << " of \"" << vector.Message << "\"";
}

// Lengths where the padding just fits (55), needs a second block for the length (56 to 63), or
// begins a block of its own (64); and the same one block later. Expected values from
// `openssl dgst -provider legacy -provider default -md4` and Python's hashlib.md5 over the same
// pattern bytes.
TEST(MessageDigest, PaddingAtBlockEdges) {
    const std::vector<TVector> cases = {
        {"MD4", PatternMessage(55), "04d44dc3dbdcf7604f259009de6e352f"},
        {"MD4", PatternMessage(56), "cdbc435e37e7a468d04702cf9eba65bb"},
        {"MD4", PatternMessage(63), "45a8744e99878276c47927b0164921f4"},
        {"MD4", PatternMessage(64), "87733dbe6c3fc125ee30897c751bd9d6"},
        {"MD4", PatternMessage(65), "82dd3042d4378ef1b420f15c61975b8b"},
        {"MD4", PatternMessage(119), "2c38b59be6919f10ba8ba7353ef288f7"},
        {"MD4", PatternMessage(120), "4414f924c8b7da56ae0dbe0896989660"},
        {"MD5", PatternMessage(55), "52c0e574e1198de5fe3f8f11440dcb1b"},
        {"MD5", PatternMessage(56), "46c9907fc908ee68b1e7b8e71286a518"},
        {"MD5", PatternMessage(63), "a62f6d59e837867693f042f5b8f5a236"},
        {"MD5", PatternMessage(64), "7160b8fb5e9e4023d549c3971fbaeead"},
        {"MD5", PatternMessage(65), "70bd662e7aefbda85a0f7244167b7897"},
        {"MD5", PatternMessage(119), "e84905d4214f4d1ca56c2cdcc152b143"},
        {"MD5", PatternMessage(120), "e3eb5a6c8669ea01a8c185b8abc8a5dc"},
    };
    for (const TVector& vector : cases)
        EXPECT_EQ(DigestOf(vector.Algorithm, vector.Message), vector.Hex)
            << vector.Algorithm << " of " << vector.Message.size() << " bytes";
}

TEST(MessageDigest, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
    std::mt19937 random(7);
    for (const char* algorithm : {"MD4", "MD5"}) {
        for (std::size_t length : {0u, 1u, 63u, 64u, 65u, 200u, 4097u, 100000u}) {
            const std::string message = PatternMessage(length);
            const std::string whole = DigestOf(algorithm, message);
            for (int round = 0; round < 10; ++round) {
                const auto digest = MakeDigest(algorithm);
                // Small pieces half the time, so that the block buffer fills across many calls.
                const std::size_t largest = round % 2 ? 9 : 300;
                for (std::size_t position = 0; position <= length;) {
                    const std::size_t piece =
                        std::min<std::size_t>(random() % (largest + 1), length - position);
                    digest->Update(message.data() + position, piece);
                    position += piece;
                    if (position == length)
                        break;
                }
                digest->Complete();
                EXPECT_EQ(digest->HexDigest(), whole) << algorithm << " length " << length;
            }
        }
    }
}

void ExpectFailure(const std::function<void()>& call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no failure, expected \"" << message << "\"";
    } catch (const std::logic_error& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

TEST(MessageDigest, CallsOutOfOrderFailWithTheirTexts) {
    for (const char* algorithm : {"MD4", "MD5"}) {
        SCOPED_TRACE(algorithm);
        const auto digest = MakeDigest(algorithm);
        ExpectFailure([&] { digest->HexDigest(); }, "Message digest not complete.");
        digest->Update(nullptr, 0);
        digest->Update("abc", 3);
        digest->Update(nullptr, 0);
        ExpectFailure([&] { digest->Digest(); }, "Message digest not complete.");
        digest->Complete();
        const std::string before = digest->HexDigest();
        ExpectFailure([&] { digest->Update("d", 1); }, "Message digest already complete.");
        ExpectFailure([&] { digest->Complete(); }, "Message digest already complete.");
        EXPECT_EQ(digest->HexDigest(), before) << "a refused call must not change the digest";
    }
}

TEST(MessageDigest, ResetStartsAfresh) {
    for (const char* algorithm : {"MD4", "MD5"}) {
        SCOPED_TRACE(algorithm);
        const auto digest = MakeDigest(algorithm);
        // Reset while open: the bytes buffered so far and the whole blocks are forgotten.
        const std::string discarded = PatternMessage(100);
        digest->Update(discarded.data(), discarded.size());
        digest->Reset();
        digest->Update("abc", 3);
        digest->Complete();
        EXPECT_EQ(digest->HexDigest(), DigestOf(algorithm, "abc"));

        digest->Reset();
        EXPECT_FALSE(digest->IsComplete());
        ExpectFailure([&] { digest->HexDigest(); }, "Message digest not complete.");
        digest->Update(kAlphanumeric.data(), kAlphanumeric.size());
        digest->Complete();
        EXPECT_EQ(digest->HexDigest(), DigestOf(algorithm, kAlphanumeric));
    }
}

TEST(MessageDigest, CreateMakesAFreshDigestOfTheSameAlgorithm) {
    for (const char* algorithm : {"MD4", "MD5"}) {
        const auto original = MakeDigest(algorithm);
        original->Update("abc", 3);
        const std::unique_ptr<TMessageDigest> fresh = original->Create();
        EXPECT_EQ(fresh->AlgorithmName(), algorithm);
        EXPECT_EQ(typeid(*fresh), typeid(*original));
        fresh->Complete();
        EXPECT_EQ(fresh->HexDigest(), DigestOf(algorithm, ""));
        EXPECT_EQ(fresh->BlockSize(), 64);
        EXPECT_EQ(fresh->DigestSize(), 16);
    }
}

// A pipe delivers the data in short reads; all of it must still be digested.
TEST(MessageDigest, UpdateFromStreamReadsToTheEndOfAPipe) {
    const std::string message = PatternMessage(20000);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
        for (std::size_t position = 0; position < message.size(); position += 500) {
            const std::size_t piece = std::min<std::size_t>(500, message.size() - position);
            if (::write(fds[1], message.data() + position, piece) != static_cast<ssize_t>(piece))
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::close(fds[1]);
    });
    TMD5 digest;
    digest.UpdateFromStream(fds[0]);
    writer.join();
    ::close(fds[0]);
    digest.Complete();
    EXPECT_EQ(digest.HexDigest(), DigestOf("MD5", message));
}

TEST(MessageDigest, UpdateFromStreamReportsAFailedRead) {
    test::TTempDir dir;
    const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    TMD4 digest;
    EXPECT_THROW(digest.UpdateFromStream(folder), std::system_error);
    ::close(folder);
}

TEST(FileDigest, DigestsTheWholeFile) {
    test::TTempDir dir;
    const std::string message = PatternMessage(600000);
    const std::string file = dir.WriteFile("data", message);
    EXPECT_EQ(FileDigest(file, TDigestAlgorithm::MD5), DigestOf("MD5", message));
    EXPECT_EQ(FileDigest(file, TDigestAlgorithm::MD4), DigestOf("MD4", message));
    EXPECT_EQ(FileDigest(dir.WriteFile("empty", ""), TDigestAlgorithm::MD5),
              "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(FileDigest, FailureNamesTheFile) {
    test::TTempDir dir;
    const std::string missing = dir / "missing";
    try {
        FileDigest(missing, TDigestAlgorithm::MD5);
        ADD_FAILURE() << "no failure for a missing file";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
}

} // namespace
