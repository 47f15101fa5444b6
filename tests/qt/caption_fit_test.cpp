// Every entry of every sample book on the surfaces that fit captions to a fixed size (a board
// cell, a quiz answer), in the program's faces and in the Song face alone: no entry that the
// Song face drew with whole words may have a word broken in the program's faces. Run at scale
// 1 and, as its own test, at scale 2 (QT_SCALE_FACTOR), where glyphs are measured unhinted.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "books/catalogue.h"
#include "books/loader.h"
#include "qt/convert.h"
#include "qt/faces.h"
#include "qt/widgets.h"

namespace {

// Every distinct caption of the sample books beside the built program.
std::set<std::string> SampleCaptions() {
  const std::string program = std::string(VANTLE_BUILD_DIR) + "/bin";
  std::set<std::string> captions;
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    books::WordBook book;
    const std::string path = books::BookFilePath(program, entry);
    const books::BookLoad loaded = books::ReadWordBook(path, entry, book);
    EXPECT_TRUE(loaded.Ok()) << path << ": " << (loaded ? "" : loaded.Failed().reason);
    for (const books::Word& word : book.words) {
      captions.insert(word.english);
      captions.insert(word.chinese);
    }
  }
  return captions;
}

TEST(CaptionFit, NoSampleEntryThatFittedWholeInTheSongFaceHasAWordBrokenNow) {
  const std::set<std::string> captions = SampleCaptions();
  ASSERT_GT(captions.size(), 10000u) << "the sample books are missing";
  const ui::Font stated{"宋体", 10.5};
  QFont song_alone = qtbind::ToQFont(stated);
  QStringList families = song_alone.families();
  families.removeAll(QString::fromLatin1(qtbind::kLatinFace));
  song_alone.setFamilies(families);
  struct Surface {
    const char* name;
    int width, height;  // twips
  } surfaces[] = {{"board cell", 1110, 1290}, {"quiz answer", 2100, 900}};
  for (const Surface& surface : surfaces) {
    qtbind::ButtonWidget before(nullptr), now(nullptr);
    before.setFont(song_alone);
    now.setFont(qtbind::ToQFont(stated));
    for (qtbind::ButtonWidget* button : {&before, &now})
      button->resize(qtbind::ToPixels(surface.width), qtbind::ToPixels(surface.height));
    int whole_before = 0, whole_now = 0, lost = 0, smaller_before = 0, smaller_now = 0;
    for (const std::string& caption : captions) {
      const QString text = qtbind::ToShownText(caption);
      before.setText(text);
      now.setText(text);
      const qtbind::CaptionLayout& was = before.Caption();
      const qtbind::CaptionLayout& is = now.Caption();
      whole_before += was.words_whole;
      whole_now += is.words_whole;
      smaller_before += was.font.pointSizeF() < stated.size;
      smaller_now += is.font.pointSizeF() < stated.size;
      if (was.words_whole && !is.words_whole) {
        ++lost;
        ADD_FAILURE() << surface.name << ": \"" << caption << "\" no longer fits whole";
      }
    }
    std::printf(
        "%s at scale %.0f: %zu captions; whole words: Song face alone %d, now %d "
        "(lost %d); drawn smaller than stated: before %d, now %d\n",
        surface.name, qGuiApp->devicePixelRatio(), captions.size(), whole_before, whole_now, lost,
        smaller_before, smaller_now);
  }
}

}  // namespace
