#include "document/export_naming.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

struct WrittenFile {
    int marker; // first pixel's blue byte: which state image was handed over
    fs::path path;
    ExportFormat format;
    int quality;
};

std::array<Bgr24Image, 3> markedStates() {
    return {Bgr24Image(2, 2, Bgr24{10, 0, 0}), Bgr24Image(2, 2, Bgr24{11, 0, 0}),
            Bgr24Image(2, 2, Bgr24{12, 0, 0})};
}

} // namespace

TEST(ExportNaming, BaseNameCutsDotsAndUpperCaseSuffixesInTheFileNameOnly) {
    EXPECT_EQ(exportBase("out/ok.bmp"), fs::path("out/ok"));
    EXPECT_EQ(exportBase("star_OFF.jpg"), fs::path("star"));
    EXPECT_EQ(exportBase("star_off.jpg"), fs::path("star_off"));
    EXPECT_EQ(exportBase("b_OVER_x.jpeg"), fs::path("b"));
    EXPECT_EQ(exportBase("a_DOWN_OFF"), fs::path("a"));
    EXPECT_EQ(exportBase("name.tar.gz"), fs::path("name"));
    // folder names keep their dots and suffixes
    EXPECT_EQ(exportBase("my.files/btn.bmp"), fs::path("my.files/btn"));
    EXPECT_EQ(exportBase("/tmp/SET_OFF.v2/icon_DOWN.bmp"), fs::path("/tmp/SET_OFF.v2/icon"));
}

TEST(ExportNaming, WriteOrderAndPreviewOrderPerStateCount) {
    const auto two = exportWriteOrder("out/ok.bmp", 2, ExportFormat::Bmp);
    EXPECT_EQ(two, (std::vector<ExportFile>{{kStateOff, "out/ok_off.bmp"},
                                            {kStateDown, "out/ok_down.bmp"}}));
    EXPECT_EQ(exportWriteOrder("x.jpg", 1, ExportFormat::Jpeg),
              (std::vector<ExportFile>{{kStateOff, "x_off.jpg"}}));
    EXPECT_EQ(exportWriteOrder("x.jpg", 3, ExportFormat::Png),
              (std::vector<ExportFile>{{kStateOff, "x_off.png"},
                                       {kStateDown, "x_down.png"},
                                       {kStateOver, "x_over.png"}}));
    EXPECT_EQ(exportPreviewOrder("x.jpg", 3, ExportFormat::Jpeg),
              (std::vector<ExportFile>{{kStateOff, "x_off.jpg"},
                                       {kStateOver, "x_over.jpg"},
                                       {kStateDown, "x_down.jpg"}}));
    EXPECT_THROW(exportWriteOrder("x", 0, ExportFormat::Bmp), std::invalid_argument);
    EXPECT_THROW(exportPreviewOrder("x", 4, ExportFormat::Bmp), std::invalid_argument);
}

TEST(ExportNaming, QualityComesFromTheBar) {
    EXPECT_EQ(exportJpegQuality(kMinQualityBar), 30);
    EXPECT_EQ(exportJpegQuality(kDefaultQualityBar), 90);
    EXPECT_EQ(exportJpegQuality(kMaxQualityBar), 100);
    EXPECT_THROW(exportJpegQuality(2), std::invalid_argument);
    EXPECT_THROW(exportJpegQuality(11), std::invalid_argument);
}

TEST(ExportButtonStates, WritesTheSelectedStatesInOrder) {
    std::vector<WrittenFile> written;
    auto writer = [&](const Bgr24Image& img, const fs::path& path, ExportFormat format, int q) {
        written.push_back({img.at(0, 0).b, path, format, q});
    };
    ExportRequest request{"out/ok.bmp", 3, ExportFormat::Jpeg, kMinQualityBar};
    EXPECT_EQ(exportButtonStates(markedStates(), request, writer), 3);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0].marker, 10);
    EXPECT_EQ(written[0].path, fs::path("out/ok_off.jpg"));
    EXPECT_EQ(written[1].marker, 12);
    EXPECT_EQ(written[1].path, fs::path("out/ok_down.jpg"));
    EXPECT_EQ(written[2].marker, 11);
    EXPECT_EQ(written[2].path, fs::path("out/ok_over.jpg"));
    for (const auto& w : written) {
        EXPECT_EQ(w.format, ExportFormat::Jpeg);
        EXPECT_EQ(w.quality, 30);
    }

    written.clear();
    EXPECT_EQ(exportButtonStates(markedStates(), ExportRequest{}, writer), 0);
    EXPECT_TRUE(written.empty());
}

TEST(ExportButtonStates, FirstFailureStopsAndNamesTheFile) {
    std::vector<fs::path> attempted;
    auto writer = [&](const Bgr24Image&, const fs::path& path, ExportFormat, int) {
        attempted.push_back(path);
        if (attempted.size() == 2) throw std::runtime_error("disk full");
    };
    try {
        exportButtonStates(markedStates(), {"out/ok.bmp", 3, ExportFormat::Bmp, 9}, writer);
        FAIL() << "the failure was not reported";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("out/ok_down.bmp"), std::string::npos) << text;
        EXPECT_NE(text.find("disk full"), std::string::npos) << text;
    }
    EXPECT_EQ(attempted.size(), 2u); // the over image is not tried after the failure
}
