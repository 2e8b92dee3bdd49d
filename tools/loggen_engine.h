// A simulated car for the log generator: a cold start, then a loop of idling,
// accelerating, cruising and coasting, with the readings an engine unit reports.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace loggen {

// splitmix64: the same seed gives the same sequence with every standard
// library, which the std distributions do not promise.
class Rng {
public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next()
  {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(double p) { return Uniform() < p; }

private:
  std::uint64_t state_;
};

class Engine {
public:
  enum class Phase { Crank, Idle, Accelerate, Cruise, Coast };

  explicit Engine(Rng& rng) : rng_(rng)
  {
    ambient_ = rng_.Range(5.0, 22.0);
    coolant = ambient_ + rng_.Range(0.0, 4.0);
    air_temp = ambient_;
    rpm = 0.0;
    Enter(Phase::Crank, 1.2);
  }

  // Advances the car by dt seconds.
  void Step(double dt)
  {
    since_start += dt;
    left_ -= dt;
    if (left_ <= 0.0)
      NextPhase();
    if (phase == Phase::Cruise && rng_.Chance(dt / 4.0))
      throttle_target_ = rng_.Range(8.0, 25.0);

    throttle += (throttle_target_ - throttle) * Lag(dt, 0.4);
    coolant += (92.0 - coolant) * Lag(dt, 240.0) + rng_.Range(-0.05, 0.05);
    air_temp += (ambient_ + 14.0 - air_temp) * Lag(dt, 400.0);
    rpm += (RpmTarget() - rpm) * Lag(dt, phase == Phase::Coast ? 4.0 : 0.8);
    rpm = std::max(0.0, rpm + rng_.Range(-8.0, 8.0));
    cut_off = phase == Phase::Coast && rpm > 1300.0 && throttle < 1.0;
    speed += (SpeedTarget() - speed) * Lag(dt, phase == Phase::Coast ? 9.0 : 4.0);
    if (rng_.Chance(dt / 40.0))
      air_conditioning = !air_conditioning;
    o2_phase += dt * (0.8 + rpm / 2500.0);
  }

  bool Running() const { return phase != Phase::Crank; }
  bool ClosedLoop() const { return Running() && !cut_off && coolant > 45.0; }
  double IdleRpm() const { return 800.0 + std::max(0.0, 70.0 - coolant) * 6.0; }

  double Load() const
  {
    if (!Running())
      return 0.0;
    if (cut_off)
      return 6.0;
    return std::clamp(18.0 + throttle * 0.95 + (rpm - 800.0) / 200.0, 0.0, 100.0);
  }
  double AirMass() const { return rpm * Load() / 1700.0; }  // kg/h

  Phase phase = Phase::Crank;
  bool drive = false;  // selector in Drive, else P/N
  bool cut_off = false;
  bool air_conditioning = false;
  double since_start = 0.0;  // s
  double throttle = 0.0;     // degrees, 0..84
  double rpm = 0.0;
  double coolant = 0.0;   // deg C
  double air_temp = 0.0;  // deg C
  double speed = 0.0;     // km/h
  double o2_phase = 0.0;  // turns of the lambda oscillation

private:
  static double Lag(double dt, double tau) { return 1.0 - std::exp(-dt / tau); }

  void Enter(Phase p, double seconds)
  {
    phase = p;
    left_ = seconds;
    switch (p) {
    case Phase::Crank:
    case Phase::Idle:
    case Phase::Coast: throttle_target_ = 0.0; break;
    case Phase::Accelerate: throttle_target_ = rng_.Range(35.0, 75.0); break;
    case Phase::Cruise: throttle_target_ = rng_.Range(8.0, 25.0); break;
    }
  }

  void NextPhase()
  {
    switch (phase) {
    case Phase::Crank: Enter(Phase::Idle, rng_.Range(1.5, 4.0)); break;
    case Phase::Idle:
      drive = true;
      Enter(Phase::Accelerate, rng_.Range(2.5, 7.0));
      break;
    case Phase::Accelerate: Enter(Phase::Cruise, rng_.Range(6.0, 25.0)); break;
    case Phase::Cruise:
      if (rng_.Chance(0.3))
        Enter(Phase::Accelerate, rng_.Range(2.0, 5.0));
      else
        Enter(Phase::Coast, rng_.Range(4.0, 10.0));
      break;
    case Phase::Coast:
      if (rng_.Chance(0.3)) {
        Enter(Phase::Accelerate, rng_.Range(2.0, 6.0));
      } else {
        drive = rng_.Chance(0.6);  // waiting in gear, or shifted to P/N
        Enter(Phase::Idle, rng_.Range(4.0, 20.0));
      }
      break;
    }
  }

  double RpmTarget() const
  {
    switch (phase) {
    case Phase::Crank: return 230.0;
    case Phase::Idle: return IdleRpm();
    case Phase::Coast: return IdleRpm();
    case Phase::Accelerate:
    case Phase::Cruise: return IdleRpm() + throttle * 55.0;
    }
    return IdleRpm();
  }

  double SpeedTarget() const
  {
    if (phase == Phase::Accelerate || phase == Phase::Cruise)
      return 20.0 + throttle * 1.6;
    return 0.0;
  }

  Rng& rng_;
  double ambient_ = 15.0;
  double throttle_target_ = 0.0;
  double left_ = 0.0;  // s left in the phase
};

}  // namespace loggen
