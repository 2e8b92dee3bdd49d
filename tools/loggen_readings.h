// What the simulated engine unit reports: parameter values and on/off statuses.
#pragma once

#include "loggen_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace loggen {

enum class Channel {
  AirMass,
  Load,
  Rpm,
  Throttle,
  Ignition,
  O2Voltage,
  O2Control,
  AirTemp,
  Coolant,
  ThrottleVoltage,
  Injection,
  Map,
  OnOffRatio,
  LmmVoltage,
  Coolant2,
  SelectorVoltage,
  VehicleSpeed,
  StarterSignal,
  IdleSwitch,
  FuelShutOff
};

enum class Flag {
  Idle,
  Drive,
  AirConditioning,
  Camshaft,
  CutOff,
  WarmUp,
  Evap,
  Knock,
  PostStart,
  Catalyst,
  Starter
};

inline double Read(const Engine& e, Channel c)
{
  const double swing = std::sin(2.0 * std::numbers::pi * e.o2_phase);
  switch (c) {
  case Channel::AirMass: return e.AirMass();
  case Channel::Load: return e.Load();
  case Channel::Rpm: return e.rpm;
  case Channel::Throttle: return e.throttle;
  case Channel::Ignition:
    if (!e.Running())
      return 5.0;
    return std::clamp(8.0 + (e.rpm - 800.0) / 250.0 - e.Load() / 12.0, -5.0, 45.0);
  case Channel::O2Voltage:
    if (e.cut_off)
      return 60.0;
    if (!e.ClosedLoop())
      return 450.0;
    return 450.0 + 380.0 * std::tanh(3.0 * swing);
  case Channel::O2Control: return e.ClosedLoop() ? -4.0 * std::cos(2.0 * std::numbers::pi * e.o2_phase) : 0.0;
  case Channel::AirTemp: return e.air_temp;
  case Channel::Coolant: return e.coolant;
  case Channel::ThrottleVoltage: return 0.45 + e.throttle / 84.0 * 4.1;
  case Channel::Injection:
    if (!e.Running())
      return 6.0;
    if (e.cut_off)
      return 0.0;
    return 1.2 + e.Load() / 22.0 + std::max(0.0, 50.0 - e.coolant) / 40.0;
  case Channel::Map: return std::min(1013.0, 280.0 + e.Load() * 7.2);
  case Channel::OnOffRatio:
    if (e.phase != Engine::Phase::Idle)
      return 35.0;
    return std::clamp(35.0 + (e.IdleRpm() - e.rpm) / 10.0, 20.0, 60.0);
  case Channel::LmmVoltage: return std::min(5.0, 1.0 + 4.0 * std::sqrt(e.AirMass() / 400.0));
  case Channel::Coolant2: return e.coolant + 1.5;
  case Channel::SelectorVoltage: return e.drive ? 3.8 : 0.6;
  case Channel::VehicleSpeed: return e.speed;
  case Channel::StarterSignal: return e.Running() ? 0.0 : 1.0;
  case Channel::IdleSwitch: return e.Running() && e.throttle < 1.0 ? 1.0 : 0.0;
  case Channel::FuelShutOff: return e.cut_off ? 1.0 : 0.0;
  }
  return 0.0;
}

inline bool IsOn(const Engine& e, Flag f)
{
  switch (f) {
  case Flag::Idle: return e.Running() && e.throttle < 1.0 && !e.cut_off;
  case Flag::Drive: return e.drive;
  case Flag::AirConditioning: return e.air_conditioning && e.Running();
  case Flag::Camshaft: return e.rpm > 2300.0 && e.Load() > 40.0;
  case Flag::CutOff: return e.cut_off;
  case Flag::WarmUp: return e.coolant < 65.0;
  case Flag::Evap: return e.phase == Engine::Phase::Cruise && e.coolant > 60.0;
  case Flag::Knock: return e.Load() > 55.0 && e.rpm > 2000.0;
  case Flag::PostStart: return e.Running() && e.since_start < 25.0;
  case Flag::Catalyst: return e.Running() && e.since_start < 60.0;
  case Flag::Starter: return !e.Running();
  }
  return false;
}

}  // namespace loggen
