// The stopwatch by local time of day.
#include "job/Chrono.h"

#include <cmath>
#include <ctime>

namespace job {

double timeOfDay(int hours, int minutes, int seconds, int milliseconds) {
  return (((hours * 60.0 + minutes) * 60.0 + seconds) * 1000.0 + milliseconds) / 86400000.0;
}

double localTimeOfDay() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  return timeOfDay(local.tm_hour, local.tm_min, local.tm_sec, int(now.tv_nsec / 1000000));
}

void TChrono::Start() {
  if (m_running) return;
  m_running = true;
  m_startTime = m_clock();
}

void TChrono::Stop() {
  if (!m_running) return;
  m_running = false;
  m_stopTime = m_clock();
  if (m_stopTime < m_startTime) m_stopTime += 1;  // midnight was passed
  m_elapsed = m_stopTime - m_startTime;
}

std::int32_t TChrono::ElapsedMs() const {
  return static_cast<std::int32_t>(std::nearbyint(m_elapsed * 24 * 3600 * 1000));
}

}  // namespace job
