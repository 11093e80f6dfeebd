// The min/max overview of an open record: read from its cache file when that still matches
// the record, otherwise built in a background thread while the view already shows what is
// built, then kept beside a large record for the next time.
//
// Threads: the builder thread only adds rows to the pyramid and, at the end, writes the cache;
// the owner reads the pyramid and the progress at any time (see CMinMaxPyramid).
#pragma once

#include "records/MinMaxPyramid.h"
#include "records/RecordReader.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CRecordOverview {
public:
    // Records with less data than this keep their overview in memory only.
    static constexpr std::uint64_t kCacheFromBytes = 64ull << 20;
    // Rows are read in runs of about this many bytes between two publications.
    static constexpr std::uint64_t kRunBytes = 4ull << 20;

    // The record stays open for the life of the overview.
    explicit CRecordOverview(const CRecordReader& record);
    ~CRecordOverview();
    CRecordOverview(const CRecordOverview&) = delete;
    CRecordOverview& operator=(const CRecordOverview&) = delete;

    // Loads the cache file, or starts the builder thread. Records of at least `cacheFromBytes`
    // get a cache file. Empty, or the message (no memory for the overview).
    std::string Start(std::uint64_t cacheFromBytes = kCacheFromBytes);
    const CMinMaxPyramid& GetPyramid() const { return *m_pyramid; }
    // 0..1 of the rows built.
    double GetProgress() const;
    bool IsComplete() const { return m_pyramid->IsComplete(); }
    bool IsFromCache() const { return m_fromCache; }
    // Waits for the builder thread to end.
    void Wait();
    // Why the cache file could not be written, once; empty when it was or none was wanted.
    std::string TakeCacheError();

private:
    void Build(std::string cachePath);

    const CRecordReader& m_record;
    std::unique_ptr<CMinMaxPyramid> m_pyramid;
    bool m_fromCache = false;
    std::atomic<bool> m_cancel{false};
    std::mutex m_errorLock;
    std::string m_cacheError; // guarded by m_errorLock
    std::thread m_builder;
};
