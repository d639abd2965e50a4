// Crisp scaling by a factor that is not whole, in one pass: a small OpenGL program samples the
// back buffer as if it had first been enlarged by the next whole factor (nearest) and then
// smoothed down to the window (bilinear), which is what the two-pass way draws, without making
// the enlarged picture. Inside a pixel of the back buffer the colour is that pixel's own; only a
// band 1/factor wide at its edges blends it with its neighbour.
//
// The program runs under SDL's own OpenGL renderer, between its commands: SDL's queue is flushed
// first, and every piece of GL state the pass changes (program, viewport, blending, scissor, the
// bound texture) is put back as SDL left it, so SDL's record of that state stays true.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstring>

#include "media/video_internal.h"

namespace {

constexpr const char* kVertexShader = R"(#version 120
uniform vec2 size;
varying vec2 texel;
void main() {
  gl_Position = gl_Vertex;
  texel = gl_MultiTexCoord0.xy * size;
}
)";

// base + 0.5 is the centre of the pixel the fragment falls in; within `flat` of it the pixel's
// own colour, beyond it a ramp of slope `factor` to the neighbour's, as the enlarged copy's
// bilinear smoothing gives.
constexpr const char* kFragmentShader = R"(#version 120
uniform sampler2D picture;
uniform vec2 size;
uniform float factor;
varying vec2 texel;
void main() {
  vec2 base = floor(texel);
  vec2 fromCentre = texel - base - 0.5;
  float flat = 0.5 - 0.5 / factor;
  vec2 inside = (fromCentre - clamp(fromCentre, -flat, flat)) * factor + 0.5;
  gl_FragColor = texture2D(picture, (base + inside) / size);
}
)";

struct GlFunctions {
  PFNGLCREATESHADERPROC createShader;
  PFNGLSHADERSOURCEPROC shaderSource;
  PFNGLCOMPILESHADERPROC compileShader;
  PFNGLGETSHADERIVPROC getShaderiv;
  PFNGLDELETESHADERPROC deleteShader;
  PFNGLCREATEPROGRAMPROC createProgram;
  PFNGLATTACHSHADERPROC attachShader;
  PFNGLLINKPROGRAMPROC linkProgram;
  PFNGLGETPROGRAMIVPROC getProgramiv;
  PFNGLDELETEPROGRAMPROC deleteProgram;
  PFNGLUSEPROGRAMPROC useProgram;
  PFNGLGETUNIFORMLOCATIONPROC getUniformLocation;
  PFNGLUNIFORM1IPROC uniform1i;
  PFNGLUNIFORM1FPROC uniform1f;
  PFNGLUNIFORM2FPROC uniform2f;
  void(APIENTRY* getIntegerv)(GLenum, GLint*);
  GLboolean(APIENTRY* isEnabled)(GLenum);
  void(APIENTRY* enable)(GLenum);
  void(APIENTRY* disable)(GLenum);
  void(APIENTRY* viewport)(GLint, GLint, GLsizei, GLsizei);
  void(APIENTRY* texParameteri)(GLenum, GLenum, GLint);
  void(APIENTRY* begin)(GLenum);
  void(APIENTRY* end)();
  void(APIENTRY* texCoord2f)(GLfloat, GLfloat);
  void(APIENTRY* vertex2f)(GLfloat, GLfloat);
};

// The program of the renderer it was made under; a new renderer (a new GL context) makes it anew.
struct CrispProgram {
  SDL_Renderer* renderer = nullptr;
  bool usable = false;
  GlFunctions gl{};
  GLuint program = 0;
  GLint size = -1, factor = -1, picture = -1;
};
CrispProgram crisp;

template <typename F>
bool Load(F& function, const char* name) {
  function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
  return function != nullptr;
}

bool LoadFunctions(GlFunctions& g) {
  return Load(g.createShader, "glCreateShader") && Load(g.shaderSource, "glShaderSource") &&
         Load(g.compileShader, "glCompileShader") && Load(g.getShaderiv, "glGetShaderiv") &&
         Load(g.deleteShader, "glDeleteShader") && Load(g.createProgram, "glCreateProgram") &&
         Load(g.attachShader, "glAttachShader") && Load(g.linkProgram, "glLinkProgram") &&
         Load(g.getProgramiv, "glGetProgramiv") && Load(g.deleteProgram, "glDeleteProgram") &&
         Load(g.useProgram, "glUseProgram") && Load(g.getUniformLocation, "glGetUniformLocation") &&
         Load(g.uniform1i, "glUniform1i") && Load(g.uniform1f, "glUniform1f") && Load(g.uniform2f, "glUniform2f") &&
         Load(g.getIntegerv, "glGetIntegerv") && Load(g.isEnabled, "glIsEnabled") && Load(g.enable, "glEnable") &&
         Load(g.disable, "glDisable") && Load(g.viewport, "glViewport") && Load(g.texParameteri, "glTexParameteri") &&
         Load(g.begin, "glBegin") && Load(g.end, "glEnd") && Load(g.texCoord2f, "glTexCoord2f") &&
         Load(g.vertex2f, "glVertex2f");
}

GLuint Compile(const GlFunctions& g, GLenum kind, const char* source) {
  const GLuint shader = g.createShader(kind);
  if (shader == 0) return 0;
  g.shaderSource(shader, 1, &source, nullptr);
  g.compileShader(shader);
  GLint compiled = GL_FALSE;
  g.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return shader;
  g.deleteShader(shader);
  return 0;
}

// Makes the program under the current renderer, once; false where it cannot be had (another
// renderer than SDL's OpenGL one, or a GL without GLSL 1.20).
bool Prepare() {
  if (crisp.renderer == video.renderer) return crisp.usable;
  crisp = CrispProgram{};
  crisp.renderer = video.renderer;
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(video.renderer, &info) != 0 || std::strcmp(info.name, "opengl") != 0) return false;
  GlFunctions& g = crisp.gl;
  // The functions belong to the renderer's context, which binding a texture makes current.
  if (SDL_GL_BindTexture(video.backBuffer, nullptr, nullptr) != 0) return false;
  const bool loaded = LoadFunctions(g);
  SDL_GL_UnbindTexture(video.backBuffer);
  if (!loaded) return false;
  const GLuint vertex = Compile(g, GL_VERTEX_SHADER, kVertexShader);
  const GLuint fragment = Compile(g, GL_FRAGMENT_SHADER, kFragmentShader);
  if (vertex != 0 && fragment != 0) {
    crisp.program = g.createProgram();
    g.attachShader(crisp.program, vertex);
    g.attachShader(crisp.program, fragment);
    g.linkProgram(crisp.program);
  }
  if (vertex != 0) g.deleteShader(vertex);
  if (fragment != 0) g.deleteShader(fragment);
  if (crisp.program == 0) return false;
  GLint linked = GL_FALSE;
  g.getProgramiv(crisp.program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    g.deleteProgram(crisp.program);
    crisp.program = 0;
    return false;
  }
  crisp.size = g.getUniformLocation(crisp.program, "size");
  crisp.factor = g.getUniformLocation(crisp.program, "factor");
  crisp.picture = g.getUniformLocation(crisp.program, "picture");
  crisp.usable = crisp.size >= 0 && crisp.factor >= 0 && crisp.picture >= 0;
  return crisp.usable;
}

}  // namespace

bool DrawCrispScaled(const SDL_Rect& area, int32_t factor) {
  if (!video.renderer || !video.backBuffer || factor < 2 || !Prepare()) return false;
  // The window is the target: SDL's queued commands (the bars' clear) run before the pass.
  if (SDL_SetRenderTarget(video.renderer, nullptr) != 0 || SDL_RenderFlush(video.renderer) != 0) return false;
  int outputW = 0, outputH = 0;
  if (SDL_GetRendererOutputSize(video.renderer, &outputW, &outputH) != 0 || outputW < 1 || outputH < 1) return false;
  // Sampled bilinear; the scale mode SDL keeps for the texture says the same.
  SDL_SetTextureScaleMode(video.backBuffer, SDL_ScaleModeLinear);
  float extentW = 0, extentH = 0;
  if (SDL_GL_BindTexture(video.backBuffer, &extentW, &extentH) != 0) return false;
  if (extentW != 1.0f || extentH != 1.0f) {
    // A rectangle texture or one padded to a power of two: the program samples neither.
    SDL_GL_UnbindTexture(video.backBuffer);
    crisp.usable = false;
    return false;
  }
  const GlFunctions& g = crisp.gl;
  GLint program = 0, viewport[4] = {0, 0, 0, 0};
  g.getIntegerv(GL_CURRENT_PROGRAM, &program);
  g.getIntegerv(GL_VIEWPORT, viewport);
  const GLboolean blend = g.isEnabled(GL_BLEND), scissor = g.isEnabled(GL_SCISSOR_TEST);
  g.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  g.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  g.disable(GL_BLEND);
  g.disable(GL_SCISSOR_TEST);
  g.viewport(0, 0, outputW, outputH);
  g.useProgram(static_cast<GLuint>(crisp.program));
  g.uniform1i(crisp.picture, 0);
  g.uniform2f(crisp.size, static_cast<GLfloat>(video.backWidth), static_cast<GLfloat>(video.backHeight));
  g.uniform1f(crisp.factor, static_cast<GLfloat>(factor));
  // The area in clip space, its top edge up (the window's rows run downwards).
  const GLfloat left = 2.0f * static_cast<GLfloat>(area.x) / static_cast<GLfloat>(outputW) - 1.0f;
  const GLfloat right = 2.0f * static_cast<GLfloat>(area.x + area.w) / static_cast<GLfloat>(outputW) - 1.0f;
  const GLfloat top = 1.0f - 2.0f * static_cast<GLfloat>(area.y) / static_cast<GLfloat>(outputH);
  const GLfloat bottom = 1.0f - 2.0f * static_cast<GLfloat>(area.y + area.h) / static_cast<GLfloat>(outputH);
  g.begin(GL_TRIANGLE_STRIP);
  g.texCoord2f(0, 0);
  g.vertex2f(left, top);
  g.texCoord2f(1, 0);
  g.vertex2f(right, top);
  g.texCoord2f(0, 1);
  g.vertex2f(left, bottom);
  g.texCoord2f(1, 1);
  g.vertex2f(right, bottom);
  g.end();
  g.useProgram(static_cast<GLuint>(program));
  g.viewport(viewport[0], viewport[1], viewport[2], viewport[3]);
  if (blend) g.enable(GL_BLEND);
  if (scissor) g.enable(GL_SCISSOR_TEST);
  SDL_GL_UnbindTexture(video.backBuffer);
  return true;
}

void ForgetCrispScale() { crisp = CrispProgram{}; }
