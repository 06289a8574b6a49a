#include "diets/ConditionTree.h"

#include <QtGlobal>

namespace ConditionTree {

namespace {

// Index, text, level, parent, keyed. "Prevention  + Obese" has two blanks,
// and the spellings are the captions the practice knows; neither is changed.
const std::array<Node, kNodeCount> kNodes = {{
    {1, "Blood", 1, 0, true},
    {2, "Anaemia", 2, 1, false},
    {3, "Hyperlipidaemia", 2, 1, false},
    {4, "Lymphangiectasis", 2, 1, false},
    {5, "Cardiac", 1, 0, true},
    {6, "Hypertension", 2, 5, false},
    {7, "Stage I Failure", 2, 5, false},
    {8, "Stage II Failure", 2, 5, false},
    {9, "Stage III Failure", 2, 5, false},
    {10, "Endocrine", 1, 0, true},
    {11, "Cushings Disease", 2, 10, false},
    {12, "Diabetes Mellitus", 2, 10, true},
    {13, "Normal Weight", 3, 12, false},
    {14, "Obese", 3, 12, false},
    {15, "Under Weight", 3, 12, false},
    {16, "Hyperthyroidism", 2, 10, false},
    {17, "Hypoglycaemia", 2, 10, false},
    {18, "General", 1, 0, true},
    {19, "Ascites - Oedema", 2, 18, false},
    {20, "Debility", 2, 18, false},
    {21, "Obesity", 2, 18, true},
    {22, "Prevention", 3, 21, false},
    {23, "Weight Reduction", 3, 21, false},
    {24, "GI Tract", 1, 0, true},
    {25, "Acute Pancreatitis", 2, 24, true},
    {26, "Hyperlipidaemic", 3, 25, false},
    {27, "None Hyperlipidaemic", 3, 25, false},
    {28, "Colitis", 2, 24, true},
    {29, "Fibre Responsive", 3, 28, false},
    {30, "Food Intolerance", 3, 28, false},
    {31, "Other", 3, 28, false},
    {32, "Constipation", 2, 24, false},
    {33, "Diarrhoea", 2, 24, true},
    {34, "EPI", 3, 33, false},
    {35, "Fibre Responsive", 3, 33, false},
    {36, "Food Intolerance", 3, 33, false},
    {37, "General", 3, 33, false},
    {38, "Malabsorption", 3, 33, false},
    {39, "Malnutrition", 3, 33, false},
    {40, "Dilitation - Volvulus", 2, 24, false},
    {41, "Endoparasites", 2, 24, false},
    {42, "Flatulence", 2, 24, true},
    {43, "Fibre Responsive", 3, 42, false},
    {44, "Food Intolerance", 3, 42, false},
    {45, "General", 3, 42, false},
    {46, "Vomiting", 2, 24, false},
    {47, "Hepatic", 1, 0, true},
    {48, "Copper Storage Disease", 2, 47, false},
    {49, "Feline Hepatic Lipidosis", 2, 47, false},
    {50, "Feline Hepatic Lipidosis With Encephalopathy", 2, 47, false},
    {51, "General", 2, 47, false},
    {52, "With Ascites", 2, 47, false},
    {53, "Ingestion", 1, 0, true},
    {54, "Anorexia", 2, 53, false},
    {55, "Coprophagia", 2, 53, false},
    {56, "Dental Care", 2, 53, false},
    {57, "Enteral Feeding", 2, 53, false},
    {58, "Reguritation", 2, 53, false},
    {59, "Neoplasia", 1, 0, true},
    {60, "Orthopoedic", 1, 0, true},
    {61, "Fractures", 2, 60, false},
    {62, "Skeletal Disease", 2, 60, false},
    {63, "Recovery", 1, 0, true},
    {64, "Convalescence", 2, 63, false},
    {65, "Critical Care", 2, 63, false},
    {66, "Surgical", 2, 63, false},
    {67, "Renal", 1, 0, true},
    {68, "Early", 2, 67, false},
    {69, "Late", 2, 67, false},
    {70, "Reproductive", 1, 0, true},
    {71, "Eclampsia", 2, 70, false},
    {72, "Lactation", 2, 70, false},
    {73, "Weaning", 2, 70, false},
    {74, "Sensitivity", 1, 0, true},
    {75, "GI", 2, 74, false},
    {76, "Skin", 2, 74, false},
    {77, "Urolithiasis", 1, 0, true},
    {78, "Cysteine", 2, 77, true},
    {79, "Disolution", 3, 78, false},
    {80, "Prevention", 3, 78, false},
    {81, "Oxalate", 2, 77, true},
    {82, "Prevention", 3, 81, false},
    {83, "Struvite", 2, 77, true},
    {84, "Disolution", 3, 83, false},
    {85, "Prevention", 3, 83, false},
    {86, "Prevention  + Obese", 3, 83, false},
    {87, "Prevention + Other Disease", 3, 83, false},
    {88, "Urate", 2, 77, true},
    {89, "Disolution", 3, 88, false},
    {90, "Prevention", 3, 88, false},
    {91, "Added", 1, 0, true},
    {92, "Life Stage", 1, 0, true},
    {93, "Growth", 2, 92, false},
    {94, "Adult", 2, 92, false},
    {95, "Senior", 2, 92, false},
}};

} // namespace

const std::array<Node, kNodeCount> &nodes()
{
    return kNodes;
}

const Node &node(int index)
{
    Q_ASSERT(index >= 1 && index <= kNodeCount);
    return kNodes[std::size_t(qBound(1, index, kNodeCount) - 1)];
}

QString text(const Node &n)
{
    return QString::fromLatin1(n.text);
}

QString key(const Node &n)
{
    return n.keyed ? text(n) : QString();
}

QString parentKey(const Node &n)
{
    return n.parent == 0 ? QString() : key(node(n.parent));
}

QString image(const Node &n)
{
    return n.level == 1 ? kClosedImage : QString();
}

QString expandedImage(const Node &n)
{
    return n.level == 1 ? kOpenedImage : QString();
}

} // namespace ConditionTree
