// Shader programs under wine's OpenGL (Mesa): a program that compiles and
// links, and one that does not, which gives no program and the driver's log.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/gl/gl_shaders_win32.h"
#include "tests/gfx/gl_test_context_win32.h"

namespace {

const char kVertex[] = "#version 110\nvoid main() { gl_Position = ftransform(); }\n";
const char kFragment[] = "#version 110\nuniform vec4 tint;\nvoid main() { gl_FragColor = tint; }\n";
const char kBrokenFragment[] = "#version 110\nvoid main() { gl_FragColor = undeclaredColour; }\n";

TEST(GLShaders, AProgramBuildsAndABrokenShaderGivesNoneWithTheDriversWords) {
  GlTestContext gl;
  ASSERT_TRUE(gl.Create());
  const GLShaderEntries entries = LoadGLShaderEntries();
  ASSERT_TRUE(entries.Complete()) << "Mesa offers OpenGL 2.0 and later";
  std::string log = "left over";
  const GLuint program = BuildShaderProgram(entries, kVertex, kFragment, log);
  EXPECT_NE(program, 0u);
  EXPECT_TRUE(log.empty()) << log;
  EXPECT_GE(entries.getUniformLocation(program, "tint"), 0);
  entries.deleteProgram(program);

  EXPECT_EQ(BuildShaderProgram(entries, kVertex, kBrokenFragment, log), 0u);
  EXPECT_NE(log.find("undeclaredColour"), std::string::npos) << log;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  const GLShaderEntries none{};
  EXPECT_EQ(BuildShaderProgram(none, kVertex, kFragment, log), 0u);
  EXPECT_FALSE(log.empty());
}

}  // namespace
