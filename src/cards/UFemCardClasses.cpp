#include "cards/UFemCardClasses.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cards/Node.h"
#include "cards/elements/Hexa.h"
#include "cards/elements/Quad4c.h"
#include "cards/elements/Rod.h"
#include "cards/loads/Case.h"
#include "cards/loads/FixNode.h"
#include "cards/loads/Force.h"
#include "cards/loads/ForceDisp.h"
#include "cards/loads/ForceSet.h"
#include "cards/loads/RestraintEquation.h"
#include "cards/loads/RestraintSet.h"
#include "cards/properties/Material.h"
#include "cards/properties/RodProp.h"
#include "cards/properties/ShellProp.h"
#include "cards/properties/SolidProp.h"

// A class joins by a line at its place. The order numbers the value types the classes register,
// so it is the registry's: Node, Rod, Quad4c, Hexa, RodProp, ShellProp, SolidProp, Material,
// ForceSet, Force, RestraintSet, FixNode, RestraintEquation, ForceDisp, Case.
const std::vector<const UFemCardClass*>& UFemCardClassesInRegistryOrder()
{
    static const std::vector<const UFemCardClass*> classes {
        &Node::cardClassObject(),
        &Rod::cardClassObject(),
        &Quad4c::cardClassObject(),
        &Hexa::cardClassObject(),
        &RodProp::cardClassObject(),
        &ShellProp::cardClassObject(),
        &SolidProp::cardClassObject(),
        &Material::cardClassObject(),
        &ForceSet::cardClassObject(),
        &Force::cardClassObject(),
        &RestraintSet::cardClassObject(),
        &FixNode::cardClassObject(),
        &RestraintEquation::cardClassObject(),
        &ForceDisp::cardClassObject(),
        &Case::cardClassObject(),
    };
    return classes;
}

void UFemInstallCardClasses()
{
    static const bool isInstalled = [] {
        UFemCardClassManager::setSharedCardClasses(UFemCardClassesInRegistryOrder());
        UFemCardClassManager::sharedCardClassManager();
        return true;
    }();
    (void)isInstalled;
}
