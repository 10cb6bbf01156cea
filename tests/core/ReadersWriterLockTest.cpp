// The readers-writer lock with real threads: shared readers, an exclusive writer, the held flag, and
// the no-op before creation.
#include "core/ReadersWriterLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace qv {
namespace {

using namespace std::chrono_literals;

TEST(ReadersWriterLockTest, DoesNothingBeforeCreationAndAfterDestruction)
{
    ReadersWriterLock lock;
    // Would dead-lock if the calls locked: exclusive after shared on the same thread.
    lock.LockShared();
    lock.LockExclusive();
    lock.UnlockExclusive();
    lock.UnlockShared();
    EXPECT_EQ(lock.Readers(), 0);
    uint8_t flag = 0;
    lock.Create(&flag);
    lock.LockExclusive();
    EXPECT_EQ(flag, 1);
    lock.Destroy();
    EXPECT_EQ(flag, 0) << "the flag does not stay set when the lock goes";
    lock.LockExclusive();
}

TEST(ReadersWriterLockTest, ReadersShareAndTheHeldFlagFollowsTheWriter)
{
    ReadersWriterLock lock;
    uint8_t flag = 0;
    lock.Create(&flag);
    lock.LockShared();
    std::thread other([&] {
        lock.LockShared(); // does not wait for the first reader
        lock.UnlockShared();
    });
    other.join();
    EXPECT_EQ(lock.Readers(), 1);
    EXPECT_EQ(flag, 0);
    lock.UnlockShared();
    lock.LockExclusive();
    EXPECT_EQ(flag, 1);
    lock.UnlockExclusive();
    EXPECT_EQ(flag, 0);
    lock.Destroy();
}

TEST(ReadersWriterLockTest, WriterWaitsForReadersAndExcludesThem)
{
    ReadersWriterLock lock;
    lock.Create();
    std::atomic<bool> writerIn{false};
    lock.LockShared();
    std::thread writer([&] {
        lock.LockExclusive();
        writerIn = true;
        lock.UnlockExclusive();
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(writerIn) << "a writer entered while a reader held the lock";
    lock.UnlockShared();
    writer.join();
    EXPECT_TRUE(writerIn);
    lock.Destroy();
}

TEST(ReadersWriterLockTest, ReadersDoNotWaitForAWaitingWriter)
{
    ReadersWriterLock lock;
    lock.Create();
    lock.LockShared();
    std::atomic<bool> writerIn{false};
    std::thread writer([&] {
        lock.LockExclusive();
        writerIn = true;
        lock.UnlockExclusive();
    });
    std::this_thread::sleep_for(20ms);
    std::atomic<bool> secondReaderIn{false};
    std::thread reader([&] {
        lock.LockShared();
        secondReaderIn = true;
        lock.UnlockShared();
    });
    reader.join(); // would hang with writer preference
    EXPECT_TRUE(secondReaderIn);
    EXPECT_FALSE(writerIn);
    lock.UnlockShared();
    writer.join();
    lock.Destroy();
}

TEST(ReadersWriterLockTest, WritersAndReadersNeverOverlap)
{
    ReadersWriterLock lock;
    lock.Create();
    int shared = 0; // guarded by the lock only
    std::atomic<int> bad{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                ExclusiveLockGuard g(lock);
                int before = shared;
                shared = before + 1;
            }
        });
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                SharedLockGuard g(lock);
                int a = shared;
                int b = shared;
                if (a != b)
                    ++bad;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(shared, 8000);
    EXPECT_EQ(bad, 0);
    lock.Destroy();
}

} // namespace
} // namespace qv
