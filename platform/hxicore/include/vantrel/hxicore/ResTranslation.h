// Translation of texts shown to the user: fixed texts through Supp_Translate, and the string
// resources of every module whose translation was started. One catalogue serves both.
#pragma once

#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/ModuleHandle.h>
#include <vantrel/hxicore/HxicoreExport.h>

// The translation of `text` in the active catalogue; with no catalogue, or no entry for it,
// the text itself.
VANTREL_HXICORE_EXPORT CXStringW Supp_Translate(const wchar_t* text);

// From now on CXStringW::Load translates the string resources of `instance`. A module finds
// this by name with dlsym, hence the C names. Answers false for a null handle.
extern "C" VANTREL_HXICORE_EXPORT bool _InitResTranslation(vantrel::ModuleHandle instance);
// Ends that; answers false when translation of `instance` was not on.
extern "C" VANTREL_HXICORE_EXPORT bool _DeInitResTranslation(vantrel::ModuleHandle instance);

// The untranslated text of resource `id` of `instance`; false (and `out` emptied) when the
// module has no such resource.
VANTREL_HXICORE_EXPORT bool _LoadStringNotTrans(vantrel::ModuleHandle instance, unsigned id, CXStringW& out);

namespace vantrel {

// Whether _InitResTranslation is in force for `instance`.
VANTREL_HXICORE_EXPORT bool isResTranslationOn(ModuleHandle instance);

} // namespace vantrel
