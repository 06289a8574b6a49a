#include "diets/DietFactors.h"

namespace DietFactors {

float StatFactor(Species species, int stat)
{
    const AnimalState &state = kStates.at(static_cast<std::size_t>(stat));
    switch (species) {
    case Species::Feline:
        return state.feline;
    case Species::Canine:
        return state.canine;
    case Species::None:
        break;
    }
    return 0.0f;
}

float EnvirFactor(int envir)
{
    return kEnvironments.at(static_cast<std::size_t>(envir)).factor;
}

} // namespace DietFactors
