// はしごろう in a browser: the experiment's own logic, compiled to WebAssembly, in a page.

#include "web_program.h"

int main() {
    static hashigoro::web::WebProgram program;
    program.Run();
}
