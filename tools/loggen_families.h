// The three engine-unit families the generator imitates: which parameters and
// statuses each reports, under the names the recorder writes. Russian names are
// Windows-1251 bytes, as in real logs.
#pragma once

#include "loggen_readings.h"

#include <span>

namespace loggen {

enum class Family { QEL, PMS, LH };

struct ParamSpec {
  const char* name;
  Channel channel;
  int decimals;
};

struct StatusSpec {
  const char* on_text;
  const char* off_text;  // "" writes a status line without text
  Flag flag;
};

namespace names {
inline constexpr const char* AirMassName = "\xC4\xCC\xD0\xC2, \xEA\xE3/\xF7";  // ДМРВ, кг/ч
inline constexpr const char* LoadName =
    "\xCD\xE0\xE3\xF0\xF3\xE7\xEA\xE0 \xEC\xEE\xF2\xEE\xF0\xE0";          // Нагрузка мотора
inline constexpr const char* RpmName = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";    // Обороты
inline constexpr const char* ThrottleName = "\xD3\xE3\xEE\xEB \xC4\xC7";  // Угол ДЗ
inline constexpr const char* IgnitionName = "\xD3\xCE\xC7";               // УОЗ
inline constexpr const char* AirTempName =
    "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xE2\xEE\xE7\xE4\xF3\xF5\xE0";  // Температура воздуха
inline constexpr const char* CoolantName =
    "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6";  // Температура ОЖ
inline constexpr const char* Coolant1Name =
    "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6 1";  // Температура ОЖ 1
inline constexpr const char* Coolant2Name =
    "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6 2";  // Температура ОЖ 2
inline constexpr const char* ThrottleVoltageName =  // Потенциометр положения упора дросселя
    "\xCF\xEE\xF2\xE5\xED\xF6\xE8\xEE\xEC\xE5\xF2\xF0 \xEF\xEE\xEB\xEE\xE6\xE5\xED\xE8\xFF"
    " \xF3\xEF\xEE\xF0\xE0 \xE4\xF0\xEE\xF1\xF1\xE5\xEB\xFF";
inline constexpr const char* InjectionName = "\xC2\xF0\xE5\xEC\xFF \xE2\xEF\xF0\xFB\xF1\xEA\xE0";  // Время впрыска
inline constexpr const char* VehicleSpeedName =
    "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF";  // Скорость автомобиля
}  // namespace names

inline constexpr ParamSpec QelParams[] = {
    {names::AirMassName, Channel::AirMass, 1},
    {names::LoadName, Channel::Load, 1},
    {names::RpmName, Channel::Rpm, 0},
    {names::ThrottleName, Channel::Throttle, 1},
    {names::IgnitionName, Channel::Ignition, 1},
    {"O2 Sensor (mV)", Channel::O2Voltage, 0},
    {"O2 sensor control %", Channel::O2Control, 2},
    {names::AirTempName, Channel::AirTemp, 1},
    {names::CoolantName, Channel::Coolant, 1},
    {names::ThrottleVoltageName, Channel::ThrottleVoltage, 3},
    {names::InjectionName, Channel::Injection, 2},
};

inline constexpr ParamSpec PmsParams[] = {
    {names::RpmName, Channel::Rpm, 0},
    {names::ThrottleName, Channel::Throttle, 1},
    {names::IgnitionName, Channel::Ignition, 1},
    {"O2 Sensor (mV)", Channel::O2Voltage, 0},
    {"O2 sensor control %", Channel::O2Control, 2},
    {names::AirTempName, Channel::AirTemp, 1},
    {names::CoolantName, Channel::Coolant, 1},
    {names::LoadName, Channel::Load, 1},
    {"MAP, mbar", Channel::Map, 0},
};

inline constexpr ParamSpec LhParams[] = {
    {"ON/OFF ratio", Channel::OnOffRatio, 1},
    {"LMM Voltage", Channel::LmmVoltage, 2},
    {names::AirMassName, Channel::AirMass, 1},
    {names::ThrottleName, Channel::Throttle, 1},
    {names::RpmName, Channel::Rpm, 0},
    {"O2 Sensor (mV)", Channel::O2Voltage, 0},
    {names::InjectionName, Channel::Injection, 2},
    {names::Coolant1Name, Channel::Coolant, 1},
    {names::Coolant2Name, Channel::Coolant2, 1},
    {names::AirTempName, Channel::AirTemp, 1},
    {"Selector lever position, V", Channel::SelectorVoltage, 2},
    {names::VehicleSpeedName, Channel::VehicleSpeed, 1},
    {"Starter signal tml 50", Channel::StarterSignal, 0},
    {"IDLE", Channel::IdleSwitch, 0},
    {"Safety fuel shut-off", Channel::FuelShutOff, 0},
};

inline constexpr StatusSpec QelStatuses[] = {
    {"IDLE", "", Flag::Idle},           {"Drive", "P/N", Flag::Drive},
    {"A/C", "", Flag::AirConditioning}, {"Camshaft actuator", "", Flag::Camshaft},
    {"Cutt off", "", Flag::CutOff},     {"Warm-up", "", Flag::WarmUp},
    {"EVAP", "", Flag::Evap},           {"Knock control", "", Flag::Knock},
};

inline constexpr StatusSpec PmsStatuses[] = {
    {"IDLE", "", Flag::Idle},
    {"Drive", "P/N", Flag::Drive},
    {"A/C", "", Flag::AirConditioning},
    {"Cutt off", "", Flag::CutOff},
    {"Post-start enrichment", "", Flag::PostStart},
    {"KAT", "", Flag::Catalyst},
};

inline constexpr StatusSpec LhStatuses[] = {
    {"IDLE", "", Flag::Idle},
    {"Starter signal tml 50", "", Flag::Starter},
    {"Safety fuel shut-off", "", Flag::CutOff},
};

inline constexpr const char* FaultCodes[] = {
    "P0100 Air mass meter circuit",
    "P0115 Coolant temperature sensor",
    "P0120 Throttle position sensor",
    "P0130 O2 sensor circuit",
    "P0171 System too lean",
    "P0300 Random misfire detected",
    "P0335 Crankshaft position sensor",
    "P0505 Idle air control system",
    "P0560 System voltage",
};

inline std::span<const ParamSpec> ParamsOf(Family f)
{
  switch (f) {
  case Family::QEL: return QelParams;
  case Family::PMS: return PmsParams;
  case Family::LH: return LhParams;
  }
  return QelParams;
}

inline std::span<const StatusSpec> StatusesOf(Family f)
{
  switch (f) {
  case Family::QEL: return QelStatuses;
  case Family::PMS: return PmsStatuses;
  case Family::LH: return LhStatuses;
  }
  return QelStatuses;
}

}  // namespace loggen
