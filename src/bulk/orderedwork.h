// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Work spread over several threads whose results are taken in the order the
// work was given, on the thread that gives it: a batch's rows or a ledger's
// accounts counted on every core, written out as they came. At most a few
// pieces per thread wait or are done but not yet taken, so memory stays flat
// however much work there is. A piece of work is freed on the thread that
// gave it, as its result is taken: memory goes back where it came from,
// and the threads do not wait on each other's heaps.
namespace bulk {

template <typename Task, typename Result> class OrderedWork {
public:
    // `work` runs on any thread; what it throws is thrown again here, by
    // `add` or `finish`, in the work's turn. `take` runs on this thread.
    OrderedWork(int jobs, std::function<Result(Task &)> work, std::function<void(Result &)> take)
        : work_(std::move(work)), take_(std::move(take)), room_(size_t(std::max(jobs, 1)) * 4) {
        if (jobs > 1)
            for (int i = 0; i < jobs; ++i)
                threads_.emplace_back([this] { serve(); });
    }
    ~OrderedWork() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread &t : threads_)
            t.join();
    }
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;

    // Gives a piece of work; takes the results that are ready in turn, and
    // waits for room when too many are under way.
    void add(Task task) {
        if (threads_.empty()) {
            Result r = work_(task);
            take_(r);
            return;
        }
        {
            std::lock_guard lock(mutex_);
            waiting_.emplace_back(given_++, std::move(task));
        }
        wake_.notify_one();
        takeReady(given_ - taken_ >= room_);
    }
    // Takes every result still to come.
    void finish() {
        while (taken_ < given_)
            takeReady(true);
    }

private:
    // Takes the results that are next in turn; with `wait`, at least one.
    void takeReady(bool wait) {
        for (;;) {
            Done done;
            {
                std::unique_lock lock(mutex_);
                if (wait)
                    done_.wait(lock, [this] {
                        return !ready_.empty() && ready_.begin()->first == taken_;
                    });
                if (ready_.empty() || ready_.begin()->first != taken_) return;
                done = std::move(ready_.begin()->second);
                ready_.erase(ready_.begin());
            }
            ++taken_;
            wait = false;
            // Either may throw (work that failed, output that cannot be
            // written): the destructor stops the threads.
            if (done.error) std::rethrow_exception(done.error);
            take_(done.result);
        }
    }
    void serve() {
        for (;;) {
            std::pair<size_t, Task> piece;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
                if (stopping_) return;
                piece = std::move(waiting_.front());
                waiting_.pop_front();
            }
            Done done;
            try {
                done.result = work_(piece.second);
            } catch (...) {
                done.error = std::current_exception();
            }
            done.task = std::move(piece.second);
            {
                std::lock_guard lock(mutex_);
                ready_.emplace(piece.first, std::move(done));
            }
            done_.notify_one();
        }
    }

    // A piece of work done, freed where it was made: its result or what it threw.
    struct Done {
        Task task;
        Result result;
        std::exception_ptr error;
    };
    std::function<Result(Task &)> work_;
    std::function<void(Result &)> take_;
    const size_t room_;
    size_t given_ = 0, taken_ = 0; // this thread's
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::deque<std::pair<size_t, Task>> waiting_;
    std::map<size_t, Done> ready_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace bulk
