#include "scan/taskpool.h"
#include "testmain.h"

#include <atomic>
#include <vector>

using namespace quillon;

class TestTaskPool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runsEveryTaskBeforeItEnds_data();
    void runsEveryTaskBeforeItEnds();
    void oneThreadRunsTasksInTheOrderGiven();
};

void TestTaskPool::runsEveryTaskBeforeItEnds_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("one thread") << 1;
    QTest::newRow("eight threads") << 8;
}

// Tasks still queued when the pool ends are run, not dropped.
void TestTaskPool::runsEveryTaskBeforeItEnds()
{
    QFETCH(int, threads);
    std::atomic<int> done = 0;
    {
        TaskPool pool(threads);
        for (int i = 0; i < 2000; ++i)
            pool.start([&done] { ++done; });
    }
    QCOMPARE(done.load(), 2000);
}

void TestTaskPool::oneThreadRunsTasksInTheOrderGiven()
{
    std::vector<int> order;
    {
        TaskPool pool(1);
        for (int i = 0; i < 100; ++i)
            pool.start([&order, i] { order.push_back(i); });
    }
    QCOMPARE(order.size(), size_t(100));
    for (int i = 0; i < 100; ++i)
        QCOMPARE(order[size_t(i)], i);
}

QUILLON_TEST_MAIN(TestTaskPool)
#include "tst_taskpool.moc"
