# The Windows version and header trimming the project compiles for. The
# runtime keeps them private: a program using it chooses its own.
set(REACHLET_PLATFORM_DEFINITIONS
  WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
