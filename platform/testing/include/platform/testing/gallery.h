// Galleries: tests that render windows into PNG files under the build tree
// (<build>/gallery/<folder>/) for a person to look at. The check is coarse:
// a picture was written and is not blank; glyphs are never compared.
#pragma once
#include <QImage>
#include <QString>

namespace platform::testing {

// The gallery folder (made when missing), from the test's ZEB_BIN_DIR.
QString GalleryDir(const char* folder);

// Fails the test when the picture is null or shows at most a few colours;
// saves it as folder/name.
void KeepPicture(const QImage& image, const char* folder, const char* name);

}  // namespace platform::testing
