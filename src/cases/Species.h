#pragma once
// The two species the program knows by name. A case's species is the text
// stored with it; other species may be stored too. The texts are compared
// exactly, with case, here only: "dog" and " Dog" are other species.
#include <QString>

namespace Species {

inline const QString Dog = QStringLiteral("Dog");
inline const QString Cat = QStringLiteral("Cat");

enum class Kind { Dog, Cat, Other };

inline Kind parse(const QString &text)
{
    if (text == Dog)
        return Kind::Dog;
    if (text == Cat)
        return Kind::Cat;
    return Kind::Other;
}

} // namespace Species
