#include "tools/assetgen/shaders/shader_assets.h"

#include <filesystem>
#include <fstream>

namespace {

// Both vertex shaders. Objects are flat quads in their own xy plane,
// textured over 0..1, so texture space doubles as the tangent frame for the
// normal maps: x along s, y along t, z out of the picture.
const char* const kQuadVertex = R"(#version 110

varying vec2 texCoord;

void main()
{
    texCoord = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
)";

// Lit, normal-mapped drawing, shared by the plain and the shielded program:
// colour from texture0, tangent-space normal from texture1 (rgb = xyz * 0.5
// + 0.5). LightPosition is a point light in the quad's own frame, where the
// quad spans -0.5..0.5 and z points at the viewer; SpecularFactor scales the
// highlight. GLSL 1.10 has no includes, so the programs are put together
// from this text.
const char* const kLitFragmentCommon = R"(#version 110

uniform sampler2D texture0;
uniform sampler2D texture1;
uniform vec3 LightPosition;
uniform float SpecularFactor;

varying vec2 texCoord;

vec3 SurfaceNormal()
{
    return normalize(texture2D(texture1, texCoord).rgb * 2.0 - 1.0);
}

vec3 Lit(vec3 colour, vec3 normal)
{
    vec3 toLight = normalize(LightPosition - vec3(texCoord - 0.5, 0.0));
    vec3 halfway = normalize(toLight + vec3(0.0, 0.0, 1.0));
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = pow(max(dot(normal, halfway), 0.0), 24.0) * SpecularFactor;
    return colour * (0.35 + 0.85 * diffuse) + vec3(specular);
}
)";

const char* const kLitFragmentMain = R"(
void main()
{
    vec4 colour = texture2D(texture0, texCoord);
    gl_FragColor = vec4(Lit(colour.rgb, SurfaceNormal()), colour.a);
}
)";

// The shielded ship: the lit ship under an energy shimmer from the noise in
// texture2, brightest towards the hull's edges. noffset (-1..1, new every
// frame) slides the noise so it flickers; the noise is read from its inner
// half so the slide never runs off the picture, whatever its wrap mode.
const char* const kShieldFragmentMain = R"(
uniform sampler2D texture2;
uniform float noffset;

void main()
{
    vec4 colour = texture2D(texture0, texCoord);
    vec3 normal = SurfaceNormal();
    vec2 noiseCoord = texCoord * 0.5 + 0.25 + vec2(noffset, -noffset) * 0.25;
    float noise = texture2D(texture2, noiseCoord).r;
    float rim = 1.0 - normal.z;
    vec3 shield = vec3(0.35, 0.75, 1.0) * (0.25 + 0.75 * noise) * (0.45 + rim);
    gl_FragColor = vec4(Lit(colour.rgb, normal) + shield, colour.a);
}
)";

// One flame particle: colour from the flame picture, shape from the alpha
// picture (its red channel times its alpha, so a grey picture and a white
// one with the shape in alpha both work), faded by particleAlpha, which
// runs from 1 at birth to 0 at death. Young particles burn whiter.
const char* const kHeatFragment = R"(#version 110

uniform sampler2D flame;
uniform sampler2D alpha;
uniform float particleAlpha;

varying vec2 texCoord;

void main()
{
    vec4 colour = texture2D(flame, texCoord);
    vec4 mask = texture2D(alpha, texCoord);
    float heat = particleAlpha * particleAlpha;
    vec3 glow = mix(colour.rgb, vec3(1.0, 0.97, 0.9), 0.35 * heat);
    gl_FragColor = vec4(glow, mask.r * mask.a * colour.a * particleAlpha);
}
)";

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

bool WriteShaders(const std::string& baseDir) {
  const std::filesystem::path folder = std::filesystem::path(baseDir) / "shaders";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string common = kLitFragmentCommon;
  return WriteText(folder / "default.evs", kQuadVertex) && WriteText(folder / "heat.evs", kQuadVertex) &&
         WriteText(folder / "default.efs", common + kLitFragmentMain) &&
         WriteText(folder / "shipinv.efs", common + kShieldFragmentMain) &&
         WriteText(folder / "heat.efs", kHeatFragment);
}
