// A long fit on a worker thread, with a progress dialog whose Cancel stops it.
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "app/MainWindow.h"
#include "stats/TailFit.h"

void MainWindow::runWithProgress(const std::function<void(const TailFitControl&)>& work) {
    std::atomic<bool> cancel{false};
    std::atomic<long> done{0}, total{1};
    TailFitControl control;
    control.cancel = &cancel;
    control.progress = [&](long d, long t) {
        done = d;
        total = std::max(1L, t);
    };
    std::exception_ptr error;
    std::promise<void> finished;
    std::future<void> ended = finished.get_future();
    std::thread worker([&] {
        try {
            work(control);
        } catch (...) {
            error = std::current_exception();
        }
        finished.set_value();
    });
    // A fit without the bootstrap ends at once: no dialog flashes for it.
    if (ended.wait_for(std::chrono::milliseconds(150)) != std::future_status::ready) {
        QProgressDialog dialog(tr("Computing the fits and their bootstrap..."), tr("Cancel"), 0, 1000, this);
        dialog.setObjectName(QStringLiteral("TailFitProgress"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(0);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        QEventLoop loop;
        QTimer timer;
        connect(&dialog, &QProgressDialog::canceled, &loop, [&] { cancel = true; });
        connect(&timer, &QTimer::timeout, &loop, [&] {
            if (ended.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                loop.quit();
                return;
            }
            // Esc or closing the dialog cancels it without the canceled() signal.
            if (dialog.wasCanceled()) cancel = true;
            if (!cancel) dialog.setValue(static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total)));
        });
        timer.start(30);
        dialog.show();
        loop.exec();
    }
    worker.join();
    if (error) std::rethrow_exception(error);
}
