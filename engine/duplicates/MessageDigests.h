#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "duplicates/FileBlockReader.h"

namespace quorvane {

// A message digest fed in pieces: construct, Update any number of times, Complete once, then
// read HexDigest. Reset returns the object to its constructed state. Misuse throws
// std::logic_error with "Message digest already complete." or "Message digest not complete.".
class TMessageDigest {
public:
    TMessageDigest(const TMessageDigest&) = delete;
    TMessageDigest& operator=(const TMessageDigest&) = delete;
    virtual ~TMessageDigest() = default;

    // A fresh digest of the same algorithm.
    virtual std::unique_ptr<TMessageDigest> Create() const = 0;
    virtual std::string AlgorithmName() const = 0;

    void Update(const void* data, std::size_t count);
    // Feeds everything the descriptor delivers up to its end (short reads from pipes included).
    // Throws std::system_error when a read fails.
    void UpdateFromStream(int fd);
    virtual void Complete();
    virtual void Reset();

    bool IsComplete() const { return FComplete; }
    // The digest bytes and their text, two lower-case hex digits per byte; both need Complete.
    const std::vector<uint8_t>& Digest() const;
    std::string HexDigest() const;

    int BlockSize() const { return FBlockSize; }
    int DigestSize() const { return FDigestSize; }

protected:
    TMessageDigest(int blockSize, int digestSize);

    // Processes `count` whole blocks lying one after the other. Implementations compress each
    // block and then call this base, which counts them.
    virtual void Transform(const uint8_t* blocks, std::size_t count);

    void FailIfComplete() const;
    std::vector<uint8_t>& DigestBytes() { return FDigest; }
    uint8_t* BlockBuffer() { return FBlockBuffer.data(); }
    int BufferedCount() const { return FBufferedCount; }
    void SetBufferedCount(int count) { FBufferedCount = count; }
    uint64_t BlockCount() const { return FBlockCount; }

private:
    void ResetBuffers();

    std::vector<uint8_t> FDigest;
    std::vector<uint8_t> FBlockBuffer;
    int FBufferedCount = 0;
    int FBlockSize;
    int FDigestSize;
    // 64 bits: a 32-bit count of 64-byte blocks would wrap for files from 128 GiB.
    uint64_t FBlockCount = 0;
    bool FComplete = false;
};

// The common frame of MD4 and MD5: 32-bit chaining words, padding with 0x80, zeros and the
// message length in bits. The big-endian flag writes the length and the words most significant
// byte first (neither MD4 nor MD5 sets it).
class TMD4Family : public TMessageDigest {
public:
    void Complete() override;
    void Reset() override;

protected:
    TMD4Family(int blockSize, bool bigEndian, std::vector<uint32_t> initialState, int digestSize);

    uint32_t* ChainingState() { return FState.data(); }

private:
    std::vector<uint32_t> FInitialState;
    std::vector<uint32_t> FState;
    bool FBigEndian;
};

// MD4 of RFC 1320.
class TMD4 : public TMD4Family {
public:
    TMD4();
    std::unique_ptr<TMessageDigest> Create() const override;
    std::string AlgorithmName() const override { return "MD4"; }

protected:
    void Transform(const uint8_t* blocks, std::size_t count) override;
};

// MD5 of RFC 1321.
class TMD5 : public TMD4Family {
public:
    TMD5();
    std::unique_ptr<TMessageDigest> Create() const override;
    std::string AlgorithmName() const override { return "MD5"; }

protected:
    void Transform(const uint8_t* blocks, std::size_t count) override;
};

enum class TDigestAlgorithm { MD4, MD5 };

// Feeds a whole file to `digest` and completes it; on failure the digest stays open and the
// outcome names the file and the cause.
TFileReadOutcome DigestFile(const std::string& fileName, TMessageDigest& digest,
                            const TStopRequested& stopped = {});

// The digest of a whole file as 32 lower-case hex digits. Throws std::runtime_error naming the
// file when it cannot be opened or read to its end.
std::string FileDigest(const std::string& fileName, TDigestAlgorithm algorithm);

} // namespace quorvane
