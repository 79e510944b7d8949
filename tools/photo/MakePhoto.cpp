// Makes the two pictures of the window program: the input panel's photograph of calm
// turquoise sea water (1024 x 768) and the wait notice's small picture (32 x 16, 16 colours).
// Usage: quillon_photo <output folder>; writes sea.jpg and wait.jpg there. The output is the
// same on every run: the waves come from a fixed seed.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Colour operator*(Colour a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
Colour mix(Colour a, Colour b, double t) {
    return a * (1 - t) + b * t;
}

struct Vec {
    double x = 0, y = 0, z = 0;
};

double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec normalised(Vec v) {
    const double n = std::sqrt(dot(v, v));
    return {v.x / n, v.y / n, v.z / n};
}

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A small fixed generator, so that the picture does not depend on the library's engines.
class Random {
public:
    double next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state = 0x9e3779b97f4a7c15ULL;
};

struct Wave {
    double kx, kz;     // wave vector, radians per metre
    double amplitude;  // metres
    double phase;      // radians
    double wavelength; // metres
};

std::vector<Wave> makeWaves() {
    Random random;
    std::vector<Wave> waves;
    // A calm sea: a gentle swell from one side plus short ripples from many directions.
    for (int i = 0; i < 28; ++i) {
        const double t = i / 27.0;
        const double wavelength = 7.0 * std::pow(0.04, t) * (0.85 + 0.3 * random.next());
        const double spread = 0.35 + 1.4 * t;
        const double direction = 1.25 + spread * (random.next() - 0.5) * 2;
        const double k = 2 * kPi / wavelength;
        const double steepness = 0.055 * (0.6 + 0.8 * random.next());
        waves.push_back({k * std::cos(direction), k * std::sin(direction), steepness / k / 5.0,
                         2 * kPi * random.next(), wavelength});
    }
    return waves;
}

// Slope of the water surface at (x, z); waves shorter than the pixel's footprint fade out.
void slopeAt(const std::vector<Wave>& waves, double x, double z, double footprint, double& dx,
             double& dz) {
    dx = 0;
    dz = 0;
    for (const Wave& w : waves) {
        const double fade = smoothstep(2.5 * footprint, 5.0 * footprint, w.wavelength);
        if (fade <= 0)
            continue;
        const double c = std::cos(w.kx * x + w.kz * z + w.phase) * w.amplitude * fade;
        dx += c * w.kx;
        dz += c * w.kz;
    }
}

Colour skyColour(Vec r) {
    const double up = std::clamp(r.y, 0.0, 1.0);
    const Colour horizon{0.80, 0.92, 0.93};
    const Colour zenith{0.38, 0.64, 0.84};
    return mix(horizon, zenith, std::pow(up, 0.6));
}

std::vector<unsigned char> makeSea(int width, int height) {
    const std::vector<Wave> waves = makeWaves();
    const Vec sun = normalised({0.35, 0.45, 1.0});
    const double cameraHeight = 2.2; // metres above the water
    const double nearAngle = 52 * kPi / 180, farAngle = 9 * kPi / 180;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width * height * 3));
    constexpr int kSamples = 3; // per side, per pixel
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Colour sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = (px + (sx + 0.5) / kSamples) / width;
                    const double v = (py + (sy + 0.5) / kSamples) / height; // 0 at the top
                    const double angle = farAngle + (nearAngle - farAngle) * v;
                    const double z = cameraHeight / std::tan(angle);
                    const double x = (u - 0.5) * 1.4 * std::hypot(z, cameraHeight);
                    const double dAngle = (nearAngle - farAngle) / height;
                    const double footprint =
                        cameraHeight * dAngle / (std::sin(angle) * std::sin(angle));
                    double sx0 = 0, sz0 = 0;
                    slopeAt(waves, x, z, footprint, sx0, sz0);
                    const Vec n = normalised({-sx0, 1, -sz0});
                    const Vec d = normalised({x, -cameraHeight, z});
                    const double dn = dot(d, n);
                    const Vec r{d.x - 2 * dn * n.x, d.y - 2 * dn * n.y, d.z - 2 * dn * n.z};
                    const double cosine = std::clamp(-dn, 0.0, 1.0);
                    const double fresnel = 0.02 + 0.98 * std::pow(1 - cosine, 5);
                    // Shallow turquoise under the viewer, deeper blue-green further out;
                    // ripples facing the light look a little brighter.
                    const Colour shallow{0.16, 0.78, 0.76};
                    const Colour deep{0.02, 0.46, 0.58};
                    Colour body = mix(deep, shallow, smoothstep(0.0, 1.0, v));
                    const double lit = std::clamp(2.2 * (dot(n, sun) - sun.y), -0.16, 0.16);
                    body = body * (1.0 + lit);
                    const double glint =
                        std::pow(std::max(0.0, dot(normalised(r), sun)), 600) * 1.2;
                    const Colour c = mix(body, skyColour(r), std::min(1.0, fresnel * 1.3)) +
                                     Colour{glint, glint, glint * 0.95};
                    sum = sum + c;
                }
            }
            sum = sum * (1.0 / (kSamples * kSamples));
            const auto at = static_cast<std::size_t>((py * width + px) * 3);
            rgb[at] = static_cast<unsigned char>(std::clamp(sum.r, 0.0, 1.0) * 255 + 0.5);
            rgb[at + 1] = static_cast<unsigned char>(std::clamp(sum.g, 0.0, 1.0) * 255 + 0.5);
            rgb[at + 2] = static_cast<unsigned char>(std::clamp(sum.b, 0.0, 1.0) * 255 + 0.5);
        }
    }
    return rgb;
}

// The wait notice: a text page, an arrow, and the converted page, in 16 window colours.
std::vector<unsigned char> makeWait() {
    constexpr int kWidth = 32, kHeight = 16;
    // '.' silver background, 'k' black, 'w' white, 'n' navy, 't' teal, 'g' grey, 'y' yellow.
    constexpr std::array<const char*, kHeight> kRows = {
        "................................", "..kkkkkkk..............kkkkkkk..",
        "..kwwwwwkk.............kwwwwwkk.", "..kwggggwkk............kwnnnnwkk",
        "..kwwwwwwwk......t.....kwwwwwwwk", "..kwgggwwwk......tt....kwnnnnwwk",
        "..kwwwwwwwk..tttttyt...kwwwwwwwk", "..kwggggwwk..ttttttyt..kwnnnnnwk",
        "..kwwwwwwwk..tttttyt...kwwwwwwwk", "..kwgggggwk......tt....kwnnnwwwk",
        "..kwwwwwwwk......t.....kwwwwwwwk", "..kwggggwwk............kwnnnnnwk",
        "..kwwwwwwwk............kwwwwwwwk", "..kkkkkkkkk............kkkkkkkkk",
        "................................", "................................"};
    auto colourOf = [](char c) -> std::array<unsigned char, 3> {
        switch (c) {
        case 'k':
            return {0, 0, 0};
        case 'w':
            return {255, 255, 255};
        case 'n':
            return {0, 0, 128};
        case 't':
            return {0, 128, 128};
        case 'g':
            return {128, 128, 128};
        case 'y':
            return {255, 255, 0};
        default:
            return {192, 192, 192};
        }
    };
    std::vector<unsigned char> rgb;
    for (const char* row : kRows)
        for (int x = 0; x < kWidth; ++x)
            for (unsigned char channel : colourOf(row[x]))
                rgb.push_back(channel);
    return rgb;
}

bool writeJpeg(const std::filesystem::path& path, const std::vector<unsigned char>& rgb, int width,
               int height, int quality, bool fullChroma) {
    FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_CreateCompress(&info, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    if (fullChroma) {
        // Small sharp pictures keep their colours: no chroma subsampling.
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const auto offset =
            static_cast<std::size_t>(info.next_scanline) * static_cast<std::size_t>(width) * 3;
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + offset);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon_photo <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const bool sea = writeJpeg(folder / "sea.jpg", makeSea(1024, 768), 1024, 768, 88, false);
    const bool wait = writeJpeg(folder / "wait.jpg", makeWait(), 32, 16, 100, true);
    return sea && wait ? 0 : 1;
}
