#pragma once

#include "ModuleSimulator.h"

// What the simulator programs serve when told nothing else: devices of the
// program's own list, so that either simulator alone is one the program knows.
namespace SimulatorDefaults {
// The ATmega328P's signature, in hex as board_sim takes it.
inline constexpr const char *BoardSignature = "1E950F";

// The smallest module of the list: its application section below the
// bootloader, and the EEPROM of its microcontroller.
inline constexpr const char *ModuleIdentifier = "KW-M328";
inline constexpr ModuleSimulator::Geometry ModuleGeometry {28672, 128, 1024, 4};
}
