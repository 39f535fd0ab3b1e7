#include "tables/forms/CardFormDescription.h"

#include "cards/Node.h"
#include "cards/elements/Hexa.h"
#include "cards/elements/Quad4c.h"
#include "cards/elements/Rod.h"
#include "cards/loads/Case.h"
#include "cards/loads/FixNode.h"
#include "cards/loads/Force.h"
#include "cards/loads/ForceDisp.h"
#include "cards/loads/ForceSet.h"
#include "cards/loads/RestraintSet.h"
#include "cards/properties/Material.h"
#include "cards/properties/RodProp.h"
#include "cards/properties/ShellProp.h"
#include "cards/properties/SolidProp.h"

namespace {

template <typename Card> const UFemCardClass& classOf()
{
    return Card::cardClassObject();
}

std::vector<CardFormColumnDescription> nodeNameFields(int count)
{
    static const char* const names[] = { "node1NameFieldOutlet", "node2NameFieldOutlet",
        "node3NameFieldOutlet", "node4NameFieldOutlet", "node5NameFieldOutlet",
        "node6NameFieldOutlet", "node7NameFieldOutlet", "node8NameFieldOutlet" };
    std::vector<CardFormColumnDescription> fields;
    for (int i = 0; i < count; ++i)
        fields.push_back({ names[i] });
    return fields;
}

std::vector<CardFormColumnDescription> joined(
    std::vector<CardFormColumnDescription> head, const std::vector<CardFormColumnDescription>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

const std::vector<CardFormDescription>& UFemFixedCardFormDescriptions()
{
    static const std::vector<CardFormDescription> descriptions {
        { "NodeFormViewController", classOf<Node>, "nodeFormViewOutlet",
            { { "locationCoordNameFieldOutlet" }, { "locationXFieldOutlet" },
                { "locationYFieldOutlet" }, { "locationZFieldOutlet" } },
            2, 5 },
        { "RodFormViewController", classOf<Rod>, "rodFormViewOutlet",
            joined({ { "rodPropNameFieldOutlet" } }, nodeNameFields(2)), 2, 4 },
        { "QuadFormViewController", classOf<Quad4c>, "quadFormViewOutlet",
            joined({ { "shellPropNameFieldOutlet" } }, nodeNameFields(4)), 2, 6 },
        { "HexaFormViewController", classOf<Hexa>, "hexaFormViewOutlet",
            joined({ { "hexaPropNameFieldOutlet" } }, nodeNameFields(8)), 2, 10 },
        { "RodPropFormViewController", classOf<RodProp>, "rodPropFormViewOutlet",
            { { "materialNameFieldOutlet" }, { "sectionAreaFieldOutlet" } }, 2, 3 },
        { "ShellPropFormViewController", classOf<ShellProp>, "shellPropFormViewOutlet",
            { { "materialNameFieldOutlet" }, { "thicknessFieldOutlet" } }, 2, 3 },
        { "SolidPropFormViewController", classOf<SolidProp>, "solidPropFormViewOutlet",
            { { "materialNameFieldOutlet" } }, 2, 2 },
        { "MaterialFormViewController", classOf<Material>, "materialFormViewOutlet",
            { { "youngsModulusFieldOutlet" }, { "poissonsRatioFieldOutlet" } }, 2, 3 },
        { "ForceFormViewController", classOf<Force>, "forceFormViewOutlet",
            { { "forceNodeNameFieldOutlet" }, { "forceCoordNameFieldOutlet" },
                { "forceXFieldOutlet" }, { "forceYFieldOutlet" }, { "forceZFieldOutlet" },
                { "momentXFieldOutlet" }, { "momentYFieldOutlet" }, { "momentZFieldOutlet" } },
            2, 9 },
        { "FixNodeFormViewController", classOf<FixNode>, "fixedNodeFormViewOutlet",
            { { "fixNodeNameFieldOutlet" }, { "txFixFlagFieldOutlet" }, { "tyFixFlagFieldOutlet" },
                { "tzFixFlagFieldOutlet" }, { "rxFixFlagFieldOutlet" }, { "ryFixFlagFieldOutlet" },
                { "rzFixFlagFieldOutlet" } },
            2, 8 },
        { "CaseFormViewController", classOf<Case>, "caseFormViewOutlet",
            { { "calculationTypePopupOutlet", Case::calculationTypeStrings() },
                { "restraintNameFieldOutlet" }, { "forceNameFieldOutlet" } },
            3, 4 },
        { "ForceSetFormViewController", classOf<ForceSet>, "forceSetFormViewOutlet",
            { { "forceMultipleValueFieldOutlet" }, { "forceNameFieldOutlet" } }, 2, 3 },
        { "RestraintSetFormViewController", classOf<RestraintSet>, "restraintSetFormViewOutlet",
            { { "restraintNameFieldOutlet" } }, 2, 2 },
        { "ForceDispFormViewController", classOf<ForceDisp>, "forceDispFormViewOutlet",
            { { "restraintDegreeOfFreedomFieldOutlet" }, { "displacementValueFieldOutlet" } }, 2,
            3 },
    };
    return descriptions;
}
