// Between the settings records of a project and the live settings the renderer reads.
// Loading puts every value through the range of the control it feeds, as the effect
// windows do when a project is applied to them; saving gathers the controls back.
#pragma once

#include "document/project_file.h"
#include "effects/settings_records.h"
#include "render/render_settings.h"

namespace plakett {

// Sets what the records hold; settings they do not carry (texture origin, mapping mode,
// the pictures) stay as they are.
void applyRecordsToSettings(const SettingsRecords& records, RenderSettings& live);
// On top of a fresh program's settings.
RenderSettings settingsFromRecords(const SettingsRecords& records);

// The records plus the pictures: the glyph becomes the file's glyph or none; the texture
// is replaced only when the file carries one.
void applyProjectToSettings(const ProjectDocument& doc, RenderSettings& live);
RenderSettings settingsFromProject(const ProjectDocument& doc);

// Copies the live values into the records' fields; padding and anything the settings do
// not hold stay as they were. Texts are cut to their fields in Windows-1252 bytes.
void gatherSettings(const RenderSettings& live, SettingsRecords& records);
SettingsRecords recordsFromSettings(const RenderSettings& live);

// Records and pictures of the document from the live settings, ready to be written.
void storeSettingsInProject(const RenderSettings& live, ProjectDocument& doc);

} // namespace plakett
