#pragma once
// The diet calculator's factor table: the 19 animal states with their factor
// for a dog and for a cat, and the 4 environments with theirs. The energy need
// is the resting energy times one state factor and one environment factor.
//
// The captions are those of the calculator's option buttons; each state lives
// on one tab page of the calculator, given here so that the window lays out the
// buttons from this one table.
#include <QtGlobal>
#include <array>

namespace DietFactors {

/// The species of a calculation, numbered as the calculator's SpeciesCode.
enum class Species : qint16 { None = 0, Feline = 1, Canine = 2 };

/// The calculator's tab pages, in their order.
enum class Tab { Illness, Environment, Reproduction, GrowthActivity };
inline constexpr std::array<const char *, 4> kTabCaptions{"Illness", "Environment", "Reproduction",
                                                          "Growth + Activity"};

struct AnimalState {
    const char *caption;
    Tab tab;
    float canine;
    float feline;
};

/// Indexed as the Stat buttons, 0 to 18.
inline constexpr std::array<AnimalState, 19> kStates{{
    {"0-4 mths (pup/kitten)", Tab::GrowthActivity, 3.0f, 2.5f},
    {"4-12 mths (pup/kitten)", Tab::GrowthActivity, 2.0f, 2.5f},
    {"Neutered Adult", Tab::GrowthActivity, 1.6f, 1.2f},
    {"Intact Adult", Tab::GrowthActivity, 1.8f, 1.5f},
    {"1hr light work", Tab::GrowthActivity, 2.0f, 1.2f},
    {"1 dy light work", Tab::GrowthActivity, 3.0f, 1.2f},
    {"1 dy heavy work", Tab::GrowthActivity, 6.0f, 1.2f},
    {"Trimester 1", Tab::Reproduction, 1.8f, 1.6f},
    {"Trimester 2", Tab::Reproduction, 1.8f, 1.8f},
    {"Trimester 3", Tab::Reproduction, 3.0f, 2.0f},
    {"Lactation: Small Litter", Tab::Reproduction, 4.0f, 2.0f},
    {"Lactation: Medium Litter", Tab::Reproduction, 6.0f, 4.0f},
    {"Lactation: Large Litter", Tab::Reproduction, 8.0f, 6.0f},
    {"Ill- cage rest", Tab::Illness, 1.25f, 1.25f},
    {"Post surgery", Tab::Illness, 1.3f, 1.3f},
    {"Trauma", Tab::Illness, 1.42f, 1.42f},
    {"Cancer", Tab::Illness, 1.42f, 1.42f},
    {"Sepsis", Tab::Illness, 1.6f, 1.6f},
    {"Major burn", Tab::Illness, 1.85f, 1.85f},
}};

struct Environment {
    const char *caption;
    float factor;
};

/// Indexed as the Envir buttons, 0 to 3, all on the Environment tab. The
/// values are kept as the practice has always had them: the band above 8.5
/// degrees has 1.25, the band from 0 to 8.5 degrees 1.0.
inline constexpr std::array<Environment, 4> kEnvironments{{
    {"> 8.5 Deg. C (with wind chill)", 1.25f},
    {"0- 8.5 Deg. C (with wind chill)", 1.0f},
    {"Sub-zero (with wind chill)", 1.75f},
    {"Tropical", 2.5f},
}};

/// What a reset selects: "Neutered Adult" and "0- 8.5 Deg. C (with wind chill)".
constexpr int kResetStat = 2;
constexpr int kResetEnvir = 1;

/// The state factor of a species (0 when no species is chosen). Throws
/// std::out_of_range for an index outside 0 to 18.
float StatFactor(Species species, int stat);
/// Throws std::out_of_range for an index outside 0 to 3.
float EnvirFactor(int envir);

} // namespace DietFactors
