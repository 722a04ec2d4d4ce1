// Starts a program and reports how long it took for its first window to be
// mapped on the X server, and the program's peak resident memory.
//
//   esperar_ventana [--asentar MS] [--limite S] -- program [arguments...]
//
// Prints one line: "ms=<time to map> rss_kb=<peak resident set>". The watch
// on the screen's root is set before the program starts, so no map can be
// missed, and the time is taken from the X event itself rather than by
// polling for the window. The peak is read from /proc once the window has
// been mapped and MS milliseconds more have passed (for the first paint);
// then the program is ended. Menus and tooltips (override-redirect windows)
// do not count as the window.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

long picoResidenteKb(pid_t pid) {
  std::ifstream estado("/proc/" + std::to_string(pid) + "/status");
  std::string linea;
  while (std::getline(estado, linea)) {
    if (linea.rfind("VmHWM:", 0) == 0) return std::strtol(linea.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// The process that says it owns the window, when it says so; a program
// started through a script is then measured, not the script.
pid_t duenoDeLaVentana(Display* pantalla, Window ventana, pid_t porDefecto) {
  const Atom propiedad = XInternAtom(pantalla, "_NET_WM_PID", True);
  if (propiedad == None) return porDefecto;
  Atom tipo;
  int formato;
  unsigned long cuantos, restan;
  unsigned char* datos = nullptr;
  pid_t pid = porDefecto;
  if (XGetWindowProperty(pantalla, ventana, propiedad, 0, 1, False, XA_CARDINAL, &tipo, &formato, &cuantos, &restan,
                         &datos) == Success &&
      datos != nullptr && cuantos == 1 && formato == 32) {
    pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(datos));
  }
  if (datos != nullptr) XFree(datos);
  return pid;
}

int uso() {
  std::fprintf(stderr, "uso: esperar_ventana [--asentar MS] [--limite S] -- programa [argumentos...]\n");
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  int asentarMs = 500;
  int limiteS = 60;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--asentar") == 0 && i + 1 < argc) {
      asentarMs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--limite") == 0 && i + 1 < argc) {
      limiteS = std::atoi(argv[++i]);
    } else {
      return uso();
    }
  }
  if (i + 1 >= argc) return uso();
  char** programa = argv + i + 1;

  Display* pantalla = XOpenDisplay(nullptr);
  if (pantalla == nullptr) {
    std::fprintf(stderr, "esperar_ventana: no X display\n");
    return 2;
  }
  const Window raiz = DefaultRootWindow(pantalla);
  XSelectInput(pantalla, raiz, SubstructureNotifyMask);
  XSync(pantalla, False);

  const Reloj::time_point inicio = Reloj::now();
  const pid_t hijo = fork();
  if (hijo == 0) {
    close(ConnectionNumber(pantalla));
    execvp(programa[0], programa);
    std::fprintf(stderr, "esperar_ventana: cannot start %s: %s\n", programa[0], std::strerror(errno));
    _exit(127);
  }
  if (hijo < 0) return 2;

  Window mapeada = None;
  Reloj::time_point mapeo;
  const Reloj::time_point tope = inicio + std::chrono::seconds(limiteS);
  while (mapeada == None) {
    while (XPending(pantalla) > 0) {
      XEvent evento;
      XNextEvent(pantalla, &evento);
      if (evento.type == MapNotify && !evento.xmap.override_redirect) {
        mapeo = Reloj::now();
        mapeada = evento.xmap.window;
        break;
      }
    }
    if (mapeada != None) break;
    int estado;
    if (waitpid(hijo, &estado, WNOHANG) == hijo) {
      std::fprintf(stderr, "esperar_ventana: %s ended before mapping a window\n", programa[0]);
      return 1;
    }
    if (Reloj::now() > tope) {
      std::fprintf(stderr, "esperar_ventana: no window after %d s\n", limiteS);
      kill(hijo, SIGKILL);
      waitpid(hijo, nullptr, 0);
      return 1;
    }
    pollfd conexion{ConnectionNumber(pantalla), POLLIN, 0};
    poll(&conexion, 1, 20);
  }

  std::this_thread::sleep_for(std::chrono::milliseconds(asentarMs));
  const pid_t dueno = duenoDeLaVentana(pantalla, mapeada, hijo);
  long rss = picoResidenteKb(dueno);
  if (rss < 0) rss = picoResidenteKb(hijo);
  kill(hijo, SIGTERM);
  if (dueno != hijo) kill(dueno, SIGTERM);
  waitpid(hijo, nullptr, 0);
  XCloseDisplay(pantalla);

  const double ms = std::chrono::duration<double, std::milli>(mapeo - inicio).count();
  std::printf("ms=%.1f rss_kb=%ld\n", ms, rss);
  return 0;
}
