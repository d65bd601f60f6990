// TChrono: the stopwatch that times one split job by the local time of day, across one midnight.
#pragma once

#include <cstdint>
#include <functional>

namespace job {

// The local time of day now, as a fraction of a day (milliseconds resolution).
double localTimeOfDay();
// (((h x 60 + m) x 60 + s) x 1000 + ms) / 86,400,000.
double timeOfDay(int hours, int minutes, int seconds, int milliseconds);

class TChrono {
 public:
  using Clock = std::function<double()>;  // returns the time of day as a fraction of a day

  explicit TChrono(Clock clock = localTimeOfDay) : m_clock(std::move(clock)) {}

  void Start();  // ignored while running
  void Stop();   // ignored while idle
  // The last completed timing in whole milliseconds, halves to even; 0 before any Stop.
  std::int32_t ElapsedMs() const;
  bool running() const { return m_running; }

 private:
  Clock m_clock;
  double m_startTime = 0;
  double m_stopTime = 0;
  double m_elapsed = 0;  // days
  bool m_running = false;
};

}  // namespace job
