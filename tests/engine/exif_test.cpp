// EXIF and XMP metadata: blocks built here in both byte orders, damaged blocks (run under
// the sanitizers), the marker scan, and the corpus's EXIF blocks against exiftool.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/text.h"
#include "codecs/exif.h"
#include "test_support.h"

namespace {

// One directory entry: the numbers of its format (a rational is numerator, denominator)
// or its bytes, or a link to another directory of the block.
struct Field {
    uint16_t tag, format;
    uint32_t count;
    std::vector<uint32_t> numbers;
    std::string bytes;
    int link = -1;
};
Field Short(uint16_t tag, uint32_t v) { return {tag, 3, 1, {v}, "", -1}; }
Field Long(uint16_t tag, uint32_t v) { return {tag, 4, 1, {v}, "", -1}; }
Field Rational(uint16_t tag, std::vector<uint32_t> v) {
    return {tag, 5, static_cast<uint32_t>(v.size() / 2), v, "", -1};
}
Field Ascii(uint16_t tag, const std::string& s) {
    return {tag, 2, static_cast<uint32_t>(s.size() + 1), {}, s + std::string(1, '\0'), -1};
}
Field Undefined(uint16_t tag, const std::string& s) { return {tag, 7, static_cast<uint32_t>(s.size()), {}, s, -1}; }
Field Link(uint16_t tag, int dir) { return {tag, 4, 1, {}, "", dir}; }

struct Dir {
    std::vector<Field> fields;
    int next = -1;
};

void Put(std::vector<uint8_t>& v, size_t at, uint32_t x, int size, bool mm) {
    for (int i = 0; i < size; ++i) v[at + i] = static_cast<uint8_t>(x >> 8 * (mm ? size - 1 - i : i));
}

// "Exif", 0, 0 and a TIFF block in Intel (II) or Motorola (MM) order: the directories one
// after the other from offset 8, then the values that do not fit an entry.
std::vector<uint8_t> BuildExif(const std::vector<Dir>& dirs, bool mm) {
    std::vector<uint32_t> at;
    uint32_t end = 8;
    for (const Dir& d : dirs) {
        at.push_back(end);
        end += 2 + 12 * static_cast<uint32_t>(d.fields.size()) + 4;
    }
    std::vector<uint8_t> t(end);
    t[0] = t[1] = mm ? 'M' : 'I';
    Put(t, 2, 42, 2, mm);
    Put(t, 4, 8, 4, mm);
    for (size_t i = 0; i < dirs.size(); ++i) {
        const std::vector<Field>& fields = dirs[i].fields;
        Put(t, at[i], static_cast<uint32_t>(fields.size()), 2, mm);
        for (size_t k = 0; k < fields.size(); ++k) {
            const Field& f = fields[k];
            const size_t e = at[i] + 2 + 12 * k;
            const int size = f.format == 3 ? 2 : f.format == 4 || f.format == 5 ? 4 : 1;
            std::vector<uint8_t> value(f.bytes.begin(), f.bytes.end());
            for (uint32_t n : f.link >= 0 ? std::vector<uint32_t>{at[f.link]} : f.numbers) {
                value.resize(value.size() + size);
                Put(value, value.size() - size, n, size, mm);
            }
            Put(t, e, f.tag, 2, mm);
            Put(t, e + 2, f.format, 2, mm);
            Put(t, e + 4, f.count, 4, mm);
            if (value.size() <= 4) {
                std::copy(value.begin(), value.end(), t.begin() + e + 8);
            } else {
                Put(t, e + 8, static_cast<uint32_t>(t.size()), 4, mm);
                t.insert(t.end(), value.begin(), value.end());
            }
        }
        Put(t, at[i] + 2 + 12 * fields.size(), dirs[i].next >= 0 ? at[dirs[i].next] : 0, 4, mm);
    }
    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), t.begin(), t.end());
    return block;
}

// IFD0 with make and model, linked to an EXIF directory holding `exifFields`.
std::vector<Dir> Camera(std::vector<Field> exifFields) {
    return {{{Ascii(271, "Canon"), Ascii(272, "EOS 5D"), Short(274, 6), Link(34665, 1)}}, {exifFields}};
}

// Parses from an exact-size copy, so that a read past the block is a sanitizer report.
bool Parse(Cexif& exif, const std::vector<uint8_t>& block) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[block.size()]);
    std::copy(block.begin(), block.end(), exact.get());
    return exif.ParseExif(exact.get(), block.size());
}

std::string TextOf(const std::vector<Dir>& dirs, bool mm, Cexif* out = nullptr) {
    Cexif exif;
    EXPECT_TRUE(Parse(exif, BuildExif(dirs, mm)));
    if (out) *out = exif;
    return ExifText(exif, 640, 480, 0);
}

TEST(ExifText, SameValuesInBothByteOrdersGiveOneText) {
    const std::vector<Dir> camera = Camera({Rational(33434, {1, 250}), Rational(33437, {28, 10}),
                                            Ascii(36867, "2024:05:06 07:08:09"), Short(37385, 25),
                                            Rational(37386, {50, 1}), Short(41989, 75), Short(34855, 100),
                                            Short(37383, 5), Short(34850, 2), Short(41987, 1)});
    const std::string ii = TextOf(camera, false);
    EXPECT_EQ(ii, TextOf(camera, true));
    EXPECT_EQ(ii,
              "Camera make\t: Canon\r\nCamera model\t: EOS 5D\r\nDate/Time\t: 2024:05:06 07:08:09\r\n"
              "Resolution\t: 640 x 480\r\nOrientation\t: rotate 90\r\nFlash used\t: Yes (auto)\r\n"
              "Focal length\t: 50.0mm  (35mm equivalent : 75mm)\r\nExposure time\t: 0.0040 s  (1/250)\r\n"
              "Aperture f Number\t: f/2.8\r\nISO equiv.\t: 100\r\nWhitebalance\t: Manual\r\n"
              "Metering Mode\t: matrix\r\nExposure Type\t: program (auto)\r\n\r\n");
}

// Each row's EXIF directory must give its line (in both byte orders).
TEST(ExifText, ValueRules) {
    const struct {
        std::vector<Field> fields;
        const char* line;
    } rows[] = {
        {{Short(34855, 2)}, "ISO equiv.\t: 400\r\n"},
        {{Rational(41493, {200, 1})}, "ISO equiv.\t: 200\r\n"},
        {{Short(34855, 100), Rational(41493, {200, 1})}, "ISO equiv.\t: 100\r\n"},
        {{Rational(33434, {2, 1})}, "Exposure time\t: 2.000 s \r\n"},
        {{Rational(37377, {8, 1})}, "Exposure time\t: 0.0039 s  (1/256)\r\n"},
        {{Rational(33434, {1, 250}), Rational(37377, {8, 1})}, "(1/250)\r\n"},
        {{Rational(37378, {4, 1})}, "Aperture f Number\t: f/4.0\r\n"},
        {{Short(37385, 15)}, "Flash used\t: Yes (maual, return light  detected)\r\n"},
        {{Short(37385, 24)}, "Flash used\t: No (auto)\r\n"},
        {{}, "Flash used\t: No\r\nWhitebalance\t: Auto\r\n\r\n"},
        {{Rational(37382, {0xFFFFFFFF, 1})}, "Focus dist.\t: Infinite\r\n"},
        {{Rational(37382, {35, 10})}, "Focus dist.\t: 3.50m\r\n"},
        // 3000 pixels over 3000 pixels an inch: 25.4 mm; 10 mm is 14 mm on 36 mm film.
        {{Long(40962, 3000), Rational(41486, {3000, 1}), Short(41488, 2), Rational(37386, {10, 1})},
         "(35mm equivalent : 14mm)\r\nCCD width\t: 25.40mm\r\n"},
        {{Undefined(37510, std::string("ASCII\0\0\0Hello", 13))}, "User Comment\t: Hello\r\n"},
        {{Ascii(36867, "2002:02:02 00:00:00"), Ascii(36868, "2001:01:01 00:00:00")}, "Time\t: 2002:02:02 00:00:00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        std::string text = TextOf(Camera(row.fields), false);
        EXPECT_NE(text.find(row.line), std::string::npos) << text;
        EXPECT_EQ(text, TextOf(Camera(row.fields), true));
    }
}

TEST(ExifText, RejectedBlockAndProcessNames) {
    std::vector<uint8_t> good = BuildExif(Camera({}), true);
    for (auto damage : {0, 6, 7, 9}) {  // identifier, byte order (two bytes), the 42
        std::vector<uint8_t> block = good;
        block[damage] ^= 0x20;
        Cexif exif;
        EXPECT_FALSE(Parse(exif, block)) << damage;
        EXPECT_EQ(ExifText(exif, 3, 2, 194),
                  "Resolution\t: 3 x 2\r\nJPEG process\t: Progressive\r\nFlash used\t: No\r\n"
                  "Whitebalance\t: Auto\r\n\r\n");
    }
    EXPECT_EQ(JpegProcessName(207), "JPEG process\t: Differential lossless, arithmetic coding\r\n");
    for (int code : {0, 196, 200, 208, -1}) EXPECT_EQ(JpegProcessName(code), "") << code;
    EXPECT_STREQ(OrientationName(9), "Undefined");
    EXPECT_STREQ(OrientationName(8), "rotate 270");
}

TEST(ExifParse, GpsCoordinatesAndAltitude) {
    for (bool mm : {false, true}) {
        Cexif exif;
        TextOf({{{Link(34853, 1)}},
                {{Ascii(1, "N"), Rational(2, {51, 1, 30, 1, 1234, 100}), Rational(4, {0, 1, 7, 1, 5, 1000}),
                  {5, 1, 1, {1}, "", -1}, Rational(6, {1234, 10})}}},
               mm, &exif);
        EXPECT_EQ(exif.gpsPresent, 1);
        EXPECT_STREQ(exif.gpsLatitude, "N 51d 30m 12.34s");
        EXPECT_STREQ(exif.gpsLongitude, "?  0d  7m  0.005s");
        EXPECT_STREQ(exif.gpsAltitude, "-123.40m");
        // Huge values with six decimals each are cut to the field.
        TextOf({{{Link(34853, 1)}}, {{Ascii(3, "W"), Rational(4, {0x7FFFFFFF, 1000000, 0x7FFFFFFF, 1, 0x7FFFFFFF, 1000000})}}},
               mm, &exif);
        EXPECT_STREQ(exif.gpsLongitude, "W 2147.483647d 2147483647m 21");
    }
}

TEST(ExifParse, ThumbnailInsideTheBlockOnly) {
    const struct {
        uint32_t offset, length;
        bool found;
        uint32_t expectLength;
    } rows[] = {{20, 30, true, 30}, {20, 100000, true, 0}, {100000, 10, false, 0}, {20, 0, false, 0}};
    for (const auto& row : rows) {
        std::vector<uint8_t> block =
            BuildExif({{{Short(274, 1)}, 1}, {{Long(513, row.offset), Long(514, row.length)}}}, false);
        Cexif exif;
        ASSERT_TRUE(exif.ParseExif(block.data(), block.size()));
        EXPECT_EQ(exif.thumbnail != nullptr, row.found) << row.offset;
        if (!row.found) continue;
        EXPECT_EQ(exif.thumbnail, block.data() + 6 + row.offset);
        EXPECT_EQ(exif.thumbnailLength, row.expectLength ? row.expectLength : block.size() - 6 - row.offset);
    }
}

// Damaged blocks: the parse reads nothing outside the block (the sanitizer build checks)
// and keeps the values it can.
TEST(ExifParse, DamagedBlocksStayInBounds) {
    const std::string longText(200, 'x');
    Cexif exif;
    Parse(exif, BuildExif(Camera({Ascii(271, longText), Ascii(272, longText), Ascii(305, longText),
                                  Ascii(36867, longText), Undefined(37510, longText)}),
                          false));
    EXPECT_EQ(std::strlen(exif.cameraMake), 31u);
    EXPECT_EQ(std::strlen(exif.software), 39u);
    EXPECT_EQ(std::strlen(exif.dateTime), 20u);
    EXPECT_EQ(std::strlen(exif.userComment), 127u);

    // Every cut of a full block, and of a block whose entries claim more than it holds.
    std::vector<uint8_t> full = BuildExif({{{Ascii(271, "Make"), Link(34665, 1), Link(34853, 2)}, 1},
                                           {{Rational(33434, {1, 60}), Undefined(37510, "comment text")}},
                                           {{Ascii(1, "S"), Rational(2, {1, 1, 2, 1, 3, 1})}}},
                                          true);
    for (size_t n = 0; n <= full.size(); ++n) Parse(exif, std::vector<uint8_t>(full.begin(), full.begin() + n));

    // Counts and offsets past the end: a count of 0x20000000 rationals is 2^32 bytes, 0
    // in 32 bits.
    const struct {
        size_t at;  // byte of the first entry's value in IFD0 (payload offset 6 + 8 + 2)
        uint32_t value;
    } pokes[] = {{6 + 8, 0xFFFF}, {6 + 8 + 2 + 4, 0x20000000}, {6 + 8 + 2 + 4, 0xFFFFFFFF}, {6 + 8 + 2 + 8, 0xFFFFFFF0}};
    for (const auto& poke : pokes) {
        std::vector<uint8_t> block = BuildExif({{{Rational(33434, {1, 60}), Short(274, 3)}}}, false);
        Put(block, poke.at, poke.value, poke.at == 6 + 8 ? 2 : 4, false);
        EXPECT_TRUE(Parse(exif, block));
        EXPECT_EQ(exif.exposureTime, 0) << poke.value;
    }

    // Directories pointing at themselves, each other and the start of the block.
    std::vector<Dir> loop = {{{Link(34665, 0), Link(40965, 1), Short(274, 8)}, 0}, {{Link(34665, 0)}, 0}};
    ASSERT_TRUE(Parse(exif, BuildExif(loop, false)));
    EXPECT_EQ(exif.orientation, 8);
}

TEST(ExifParse, DirectoriesDeeperThanFourAreSkipped) {
    for (int depth = 0; depth <= 6; ++depth) {
        std::vector<Dir> chain;
        for (int d = 0; d < depth; ++d) chain.push_back({{Link(34665, d + 1)}});
        chain.push_back({{Short(41987, 1)}});
        Cexif exif;
        ASSERT_TRUE(Parse(exif, BuildExif(chain, depth % 2 == 1)));
        EXPECT_EQ(exif.whiteBalance, depth <= 4 ? 1 : 0) << depth;
    }
}

TEST(ExifOrientation, SetNormalInBothByteOrders) {
    const struct {
        Field orientation;
        int width;
    } rows[] = {{Short(274, 6), 2}, {Long(274, 8), 4}, {{274, 1, 1, {3}, "", -1}, 1}, {Rational(274, {10, 2}), 4}};
    for (const auto& row : rows)
        for (bool mm : {false, true}) {
            std::vector<uint8_t> block = BuildExif({{{Ascii(271, "Make"), row.orientation}}}, mm);
            const std::vector<uint8_t> before = block;
            Cexif exif;
            ASSERT_TRUE(Parse(exif, block));
            ASSERT_GT(exif.orientation, 1);
            ASSERT_TRUE(SetExifOrientationNormal(block));
            ASSERT_TRUE(Parse(exif, block));
            EXPECT_EQ(exif.orientation, 1);
            const size_t last = exif.orientationOffset + (mm ? row.width - 1 : 0);
            EXPECT_EQ(block[last], 1);
            size_t changed = 0;
            for (size_t i = 0; i < block.size(); ++i) changed += block[i] != before[i];
            EXPECT_EQ(changed, row.orientation.format == 5 ? 2u : 1u);
        }
    std::vector<uint8_t> none = BuildExif({{{Ascii(271, "Make")}}}, false), broken = {'E', 'x'};
    EXPECT_FALSE(SetExifOrientationNormal(none));
    EXPECT_FALSE(SetExifOrientationNormal(broken));
}

TEST(ExifXmp, IdentifiersAndText) {
    const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/", 29);
    EXPECT_TRUE(IsXmpPayload(reinterpret_cast<const uint8_t*>(xmp.data()), 29));
    EXPECT_FALSE(IsXmpPayload(reinterpret_cast<const uint8_t*>(xmp.data()), 28));
    EXPECT_FALSE(IsXmpPayload(reinterpret_cast<const uint8_t*>("http://ns.adobe.com/xap/1.0/x"), 29));
    EXPECT_TRUE(IsExifPayload(reinterpret_cast<const uint8_t*>("Exif\0\0"), 6));
    EXPECT_FALSE(IsExifPayload(reinterpret_cast<const uint8_t*>("Exif\0\0"), 5));
    EXPECT_FALSE(IsExifPayload(reinterpret_cast<const uint8_t*>("Exif\0\1"), 6));

    // A zero byte becomes a blank, a control byte a line break; the first line break after
    // the element's end is the text's end.
    for (const std::string end : {"/x:xmpmeta>", "/x:xapmeta>", "/xmp:xmpmeta>"}) {
        const std::string marker = std::string("a\0b\tc<", 6) + end + " \n<?xpacket end?>\n";
        EXPECT_EQ(XmpText(reinterpret_cast<const uint8_t*>(marker.data()), marker.size()),
                  "a b\r\nc<" + end + " \r\n");
        EXPECT_EQ(XmpText(reinterpret_cast<const uint8_t*>(marker.data()), 9), "a b\r\nc<" + end.substr(0, 3));
    }
}

// This file's packet has no line break after its element: the text runs to the marker's
// end, its padding and trailer included.
TEST(ExifXmp, CorpusPacketText) {
    if (!CorpusAvailable()) GTEST_SKIP() << "corpus not found";
    const std::vector<uint8_t> file = ReadBytes(CorpusPath("image-rs-image/images/jpg/exif-xmp-metadata.jpg"));
    size_t at = 2;
    while (at + 4 <= file.size() && !(file[at + 1] == 0xE1 && IsXmpPayload(&file[at + 4], file.size() - at - 4)))
        at += 2 + (file[at + 2] << 8 | file[at + 3]);
    ASSERT_LT(at + 4, file.size());
    const size_t length = 2 + (file[at + 2] << 8 | file[at + 3]);
    const std::string text = XmpText(&file[at], length);
    const std::string start = "\xFF\xE1\r\n\x9Ehttp://ns.adobe.com/xap/1.0/ <?xpacket";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_NE(text.find("</rdf:RDF> </x:xmpmeta>   "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 20), " <?xpacket end=\"w\"?>");
    EXPECT_EQ(text.size(), length + 1);  // the length byte 0x0E became CR LF
}

std::vector<uint8_t> Segment(uint8_t code, const std::string& body) {
    std::vector<uint8_t> s(4 + body.size());
    s[0] = 0xFF;
    s[1] = code;
    s[2] = static_cast<uint8_t>((body.size() + 2) >> 8);
    s[3] = static_cast<uint8_t>(body.size() + 2);
    std::copy(body.begin(), body.end(), s.begin() + 4);
    return s;
}

TEST(ExifMarkers, ScanJpegMarkers) {
    const std::vector<uint8_t> exifBlock = BuildExif(Camera({}), false);
    std::vector<uint8_t> jpeg = {0xFF, 0xD8};
    for (const auto& s : {Segment(0xE0, "JFIF"), Segment(0xFE, std::string(200, 'c')), Segment(0xE1, "Exif\0"),
                          Segment(0xE1, std::string(exifBlock.begin(), exifBlock.end())),
                          Segment(0xE1, std::string("Exif\0\0second", 12)),
                          Segment(0xC0, std::string("\x08\x01\x02\x03\x04\x03", 6)),
                          Segment(0xC2, std::string("\x08\x09\x09\x09\x09\x03", 6)), Segment(0xDA, "")})
        jpeg.insert(jpeg.end(), s.begin(), s.end());
    Cjpeg scan;
    ASSERT_EQ(scan.ScanJpegMarkers(jpeg.data(), jpeg.size()), 0);
    EXPECT_EQ(std::string(scan.comment), std::string(127, 'c'));
    EXPECT_EQ(scan.frameHeight, 0x0102);
    EXPECT_EQ(scan.frameWidth, 0x0304);
    ASSERT_EQ(scan.exifLength, exifBlock.size());
    EXPECT_EQ(std::memcmp(scan.exif, exifBlock.data(), exifBlock.size()), 0);
    EXPECT_EQ(jpeg[scan.position + 1], 0xDA);

    const struct {
        std::vector<uint8_t> data;
        int result;
    } rows[] = {{{0xFF, 0xD9}, 1}, {{0xFF}, 1}, {{0xFF, 0xD8, 0xFF, 0xD9}, 0}, {{0xFF, 0xD8, 0x00, 0xD9}, -1},
                {{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x09, 0}, -1}, {{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0xFF, 0xD9}, -1}};
    for (const auto& row : rows) EXPECT_EQ(scan.ScanJpegMarkers(row.data.data(), row.data.size()), row.result);
    // Cut before the start of scan: the scan runs off the data without reading past it.
    for (size_t n = 0; n < jpeg.size() - 2; ++n) {
        std::unique_ptr<uint8_t[]> cut(new uint8_t[n]);
        std::copy(jpeg.begin(), jpeg.begin() + n, cut.get());
        EXPECT_EQ(scan.ScanJpegMarkers(cut.get(), n), n < 2 ? 1 : -1) << n;
    }
}

// The value of "Key": in exiftool's JSON output, empty when the key is absent.
std::string JsonValue(const std::string& json, const std::string& key) {
    size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return "";
    at += key.size() + 4;
    if (json[at] == '"') return json.substr(at + 1, json.find('"', at + 1) - at - 1);
    return json.substr(at, json.find_first_of(",\n}", at) - at);
}

// Every EXIF block of the corpus's JPEG files against exiftool's raw values, where this
// program's own rules (ISO below 50, values taken from APEX tags) do not apply.
TEST(ExifCorpus, ValuesMatchExiftool) {
    struct stat st;
    if (::stat("/usr/bin/exiftool", &st) != 0) GTEST_SKIP() << "exiftool not installed";
    if (::stat(CorpusPath("exif-orientation-examples").c_str(), &st) != 0) GTEST_SKIP() << "corpus not found";
    std::vector<std::string> files;
    std::string command = "exiftool -n -j";
    for (const char* folder : {"exif-orientation-examples", "image-rs-image/images/jpg"})
        for (const std::string& file : ListFiles(CorpusPath(folder), "jpg")) {
            const std::vector<uint8_t> data = ReadBytes(file);
            Cjpeg scan;
            if (scan.ScanJpegMarkers(data.data(), data.size()) != 0 || !scan.exif) continue;
            files.push_back(file);
            command += " '" + file + "'";
        }
    ASSERT_GE(files.size(), 11u);
    std::string output;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    ::pclose(pipe);

    // exiftool answers one object per file, in the order asked.
    size_t object = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        object = output.find("\"SourceFile\"", object + 1);
        ASSERT_NE(object, std::string::npos);
        const std::string json = output.substr(object, output.find("\"SourceFile\"", object + 1) - object);
        ASSERT_NE(json.find(file), std::string::npos);
        const std::vector<uint8_t> data = ReadBytes(file);
        Cjpeg scan;
        scan.ScanJpegMarkers(data.data(), data.size());
        Cexif exif;
        ASSERT_TRUE(exif.ParseExif(scan.exif, scan.exifLength));

        EXPECT_EQ(exif.orientation, std::atoi(JsonValue(json, "Orientation").c_str()));
        EXPECT_EQ(TrimEnd(exif.cameraMake, " "), JsonValue(json, "Make"));
        EXPECT_EQ(TrimEnd(exif.cameraModel, " "), JsonValue(json, "Model"));
        std::string date = JsonValue(json, "DateTimeOriginal");
        if (date.empty()) date = JsonValue(json, "ModifyDate") + JsonValue(json, "CreateDate");
        EXPECT_EQ(exif.dateTime, date.substr(0, 20));
        const struct {
            const char* key;
            double value;
        } numbers[] = {{"ExposureTime", exif.exposureTime}, {"FNumber", exif.aperture},
                       {"FocalLength", exif.focalLength},   {"Flash", static_cast<double>(exif.flash)},
                       {"WhiteBalance", static_cast<double>(exif.whiteBalance)},
                       {"MeteringMode", static_cast<double>(exif.meteringMode)},
                       {"ThumbnailLength", static_cast<double>(exif.thumbnailLength)},
                       {"ThumbnailOffset", exif.thumbnail ? static_cast<double>(exif.thumbnail - data.data()) : 0}};
        for (const auto& n : numbers) {
            const std::string expected = JsonValue(json, n.key);
            if (!expected.empty()) {
                EXPECT_NEAR(n.value, std::atof(expected.c_str()), 1e-4) << n.key;
            }
        }
        const std::string iso = JsonValue(json, "ISO");
        if (!iso.empty() && std::atoi(iso.c_str()) >= 50) {
            EXPECT_EQ(exif.isoEquivalent, std::atoi(iso.c_str()));
        }
    }
}

}  // namespace
