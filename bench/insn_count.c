/* A qemu TCG plugin that counts the guest instructions a whole run executes
 * and writes the number, on one line, to the file given as out=PATH (or to
 * standard error). Each translated block adds its length when it runs.
 *   qemu-arm -plugin ./insn_count.so,out=count.txt ./program */
#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <qemu-plugin.h>

QEMU_PLUGIN_EXPORT int qemu_plugin_version = QEMU_PLUGIN_VERSION;

static uint64_t executed;
static const char *out_path;

static void on_translate(qemu_plugin_id_t id, struct qemu_plugin_tb *tb)
{
    (void)id;
    qemu_plugin_register_vcpu_tb_exec_inline(tb, QEMU_PLUGIN_INLINE_ADD_U64, &executed,
                                             qemu_plugin_tb_n_insns(tb));
}

static void on_exit(qemu_plugin_id_t id, void *unused)
{
    (void)id;
    (void)unused;
    FILE *out = out_path ? fopen(out_path, "w") : stderr;
    if (!out) return;
    fprintf(out, "%" PRIu64 "\n", executed);
    if (out != stderr) fclose(out);
}

QEMU_PLUGIN_EXPORT int qemu_plugin_install(qemu_plugin_id_t id, const qemu_info_t *info, int argc, char **argv)
{
    (void)info;
    for (int i = 0; i < argc; i++)
        if (strncmp(argv[i], "out=", 4) == 0) out_path = argv[i] + 4;
    qemu_plugin_register_vcpu_tb_trans_cb(id, on_translate);
    qemu_plugin_register_atexit_cb(id, on_exit, NULL);
    return 0;
}
