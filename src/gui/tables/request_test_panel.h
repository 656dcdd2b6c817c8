#pragma once

#include <QWidget>
#include <functional>
#include <list>
#include <memory>
#include <thread>
#include <vector>

#include "core/probe/prober.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace sw48230 {

// The Test button of a request screen and what shows a test under way: a
// progress bar and a Stop button; beside the button what Test will test,
// and after a test how it ended. The requests are probed on a thread of
// their own, so the screen keeps painting and stays usable; each result is
// handed to the screen on its own thread as it comes.
class RequestTestPanel final : public QWidget {
  Q_OBJECT
 public:
  using ShowResult = std::function<void(const ProbeResult&)>;
  // A run ended, by itself or by Stop.
  using Ended = std::function<void()>;

  RequestTestPanel(QWidget* parent, Prober& prober, ShowResult show, Ended ended);
  // Stops what still runs and waits for the probe threads, which a stop
  // ends at once.
  ~RequestTestPanel() override;

  QPushButton* test_button() const { return Btn_Test; }
  QPushButton* stop_button() const { return Btn_Stop; }

  // `progress` holds %1 (rows tested) and %2 (rows to test).
  void Set_Texts(const QString& test, const QString& test_hint, const QString& stop, const QString& stop_hint,
                 const QString& progress);
  // What Test would test now; how the last test ended.
  void Show_Scope(const QString& scope);
  void Show_Summary(const QString& summary);

  void Start(std::vector<ProbeRequest> requests, ProbeOptions options);
  // Ends the run at once: its thread is told to stop and left to finish on
  // its own, and nothing it still reports is shown. Nothing when none runs.
  void Stop();
  bool Running() const { return running_; }

 private:
  struct Run {
    unsigned number = 0;
    // A stop cannot be taken back, so each run has its own.
    std::unique_ptr<ProbeStop> stop;
    std::thread thread;
  };

  void Result_Arrived(unsigned run, const ProbeResult& result);
  void Finished(unsigned run);
  void Show_Idle();
  void Show_Progress();

  Prober& prober_;
  ShowResult show_;
  Ended ended_;
  QPushButton* Btn_Test;
  QLabel* L_Test_Scope;
  QProgressBar* progress_;
  QLabel* L_Test_Summary;
  QPushButton* Btn_Stop;
  QString progress_text_;
  int done_ = 0;
  int total_ = 0;
  // Results still queued from an earlier run are told apart by its number.
  unsigned run_ = 0;
  bool running_ = false;
  // The run under way and those stopped whose threads have not ended yet.
  std::list<Run> runs_;
};

}  // namespace sw48230
