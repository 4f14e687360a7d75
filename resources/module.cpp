// The program's module: the tables that FindResource, LoadBitmap and LoadString search.
#include "resources/resources.h"

extern const DLGTEMPLATE* const kDialogTemplates[];
extern const int kDialogTemplateCount;
extern const BitmapResource kBitmapResources[];
extern const int kBitmapResourceCount;
extern const StringResource kStringResources[];
extern const int kStringResourceCount;

HINSTANCE talvinoModule() {
    static const HINSTANCE__ module = {kDialogTemplates,   kDialogTemplateCount, kBitmapResources,
                                       kBitmapResourceCount, kStringResources,     kStringResourceCount};
    return &module;
}
