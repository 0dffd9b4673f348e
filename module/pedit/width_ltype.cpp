// Width and "Ltype gen" of PEdit: asked once, at the first polyline of the selection with its
// current value, and the answer given to every other polyline as well.
#include <vantrel/host/HostDocument.h>

#include "frame/AlpCmdUtils.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"

namespace {

// The answers of the keywords "ON OFF".
constexpr InputResult kOn = kInputFirstKeyword;
constexpr InputResult kOff = kInputFirstKeyword + 1;

} // namespace

std::int32_t CPeditCmd::OnKeyWidth(OdDbObjectId id)
{
    const OdDbCurvePtr curve = id.safeOpenObject(OdDb::kForWrite);
    const OdDbPolylinePtr lw = OdDbPolyline::cast(curve.get());
    const OdDb2dPolylinePtr pl = OdDb2dPolyline::cast(curve.get());
    if (!lw && !pl)
        return kOptionWrongKind;
    if (m_sharedWidth < 0.0) {
        const CXStringW prompt = vantrel::loadResource(kWidthPrompt);
        double width = lw ? lw->getConstantWidth() : pl->defaultStartWidth();
        for (;;) {
            const InputResult answer = m_document->editor().getReal(width, prompt, nullptr, kAcceptEmpty);
            if (answer == kInputCancel)
                return kOptionCancelled;
            if (answer == kInputEmpty)
                return kInputEmpty;
            if (answer != kInputValue)
                continue;
            // A negative width is no width; it would also read as "not asked yet".
            if (width < 0.0) {
                printResource(kNegativeWidthMessage);
                continue;
            }
            m_sharedWidth = width;
            break;
        }
    }
    if (lw) {
        lw->setConstantWidth(m_sharedWidth);
    } else {
        for (auto it = pl->vertexIterator(); !it->done(); it->step()) {
            const OdDb2dVertexPtr vertex = it->vertex(OdDb::kForWrite);
            vertex->setStartWidth(m_sharedWidth);
            vertex->setEndWidth(m_sharedWidth);
        }
    }
    AlpCmdUtils::touchEntity(curve);
    return kOptionDone;
}

std::int32_t CPeditCmd::OnKeyLtypeGen(OdDbObjectId id)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    const OdDbPolylinePtr lw = OdDbPolyline::cast(entity.get());
    const OdDb2dPolylinePtr pl = OdDb2dPolyline::cast(entity.get());
    if (!lw && !pl)
        return kOptionDone;
    if (m_sharedLtypeAnswer < 0) {
        const bool on = lw ? lw->hasPlinegen() : pl->isLinetypeGenerationOn();
        // The first placeholder stays for the host's keyword list.
        CXStringW prompt;
        prompt.Format(vantrel::loadResource(kLtypeGenPrompt), L"%s", vantrel::loadResource(on ? kOnName : kOffName));
        m_sharedLtypeAnswer
            = m_document->editor().getKeyword(prompt, vantrel::loadResource(kLtypeGenKeywords), kAcceptEmpty);
    }
    switch (m_sharedLtypeAnswer) {
    case kInputCancel: return kOptionCancelled;
    case kOn:
        if (lw)
            lw->setPlinegen(true);
        else
            pl->setLinetypeGenerationOn();
        break;
    case kOff:
        if (lw)
            lw->setPlinegen(false);
        else
            pl->setLinetypeGenerationOff();
        break;
    default: break;
    }
    AlpCmdUtils::touchEntity(entity);
    return kOptionDone;
}
