#pragma once

#include <array>
#include <string_view>

namespace xemap::vocabulary {

// Suggestions offered in the record fields' drop-down lists; any other text is stored as typed.
constexpr std::array<std::string_view, 9> kAlignments{"Lawful Good",  "Lawful Neutral",  "Lawful Evil",
                                                      "Neutral Good", "True Neutral",    "Neutral Evil",
                                                      "Chaotic Good", "Chaotic Neutral", "Chaotic Evil"};

constexpr std::array<std::string_view, 7> kRaces{"Human", "Half Elf", "Elf", "Dwarf", "Gnome", "Halfling", "Half Orc"};

constexpr std::array<std::string_view, 19> kClasses{"None",
                                                    "Fighter",
                                                    "Ranger",
                                                    "Paladin",
                                                    "Cleric",
                                                    "Druid",
                                                    "Mage",
                                                    "Thief",
                                                    "Bard",
                                                    "Fighter/Thief",
                                                    "Fighter/Cleric",
                                                    "Fighter/Mage",
                                                    "Mage/Thief",
                                                    "Cleric/Mage",
                                                    "Cleric/Thief",
                                                    "Fighter/Druid",
                                                    "Cleric/Ranger",
                                                    "Fighter/Mage/Cleric",
                                                    "Fighter/Mage/Thief"};

constexpr std::array<std::string_view, 11> kEventTriggers{
    "On Enter",        "On Exit",         "On Move Item", "On Battle", "On Talk To", "Tripwire",
    "Attribute check", "Alignment check", "Item check",   "Riddle",    "Other"};

constexpr std::array<std::string_view, 9> kEventLocations{"North Edge", "East Edge", "South Edge",  "West Edge", "Door",
                                                          "Item",       "Creature",  "All of tile", "Other"};

constexpr std::array<std::string_view, 9> kPortalLocations{
    "North Edge", "East Edge",   "South Edge",           "West Edge", "Door",
    "Stairs up",  "Stairs down", "Free-standing portal", "Other"};

}  // namespace xemap::vocabulary
