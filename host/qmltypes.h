#pragma once

// Makes the program's own QML types importable as "Quillor.Lists 1.0". Call it once the
// application object exists and before any document that imports them is loaded.
void registerQmlTypes();
