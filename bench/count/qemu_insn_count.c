/*
 * Counts the guest instructions a program runs under qemu-user:
 *
 *   cc -shared -fPIC -O2 -o libinsn_count.so qemu_insn_count.c
 *   qemu-ppc -L /usr/powerpc-linux-gnu -plugin ./libinsn_count.so -d plugin PROG ARGS
 *
 * prints "insns: N" on stderr at exit. Each translated block adds its length
 * to one counter inline each time it runs (plugin interface version 1, as in
 * qemu 7.2), so counting costs no callback. The interface is declared here
 * rather than taken from qemu's sources, which Debian does not package.
 */
#include <inttypes.h>
#include <stdint.h>
#include <stdio.h>

typedef uint64_t qemu_plugin_id_t;
struct qemu_plugin_tb;
typedef struct qemu_info_t qemu_info_t;
enum qemu_plugin_op { QEMU_PLUGIN_INLINE_ADD_U64 };
typedef void (*qemu_plugin_vcpu_tb_trans_cb_t)(qemu_plugin_id_t id, struct qemu_plugin_tb *tb);
typedef void (*qemu_plugin_udata_cb_t)(qemu_plugin_id_t id, void *userdata);

void qemu_plugin_register_vcpu_tb_trans_cb(qemu_plugin_id_t id, qemu_plugin_vcpu_tb_trans_cb_t cb);
size_t qemu_plugin_tb_n_insns(const struct qemu_plugin_tb *tb);
void qemu_plugin_register_vcpu_tb_exec_inline(struct qemu_plugin_tb *tb, enum qemu_plugin_op op, void *ptr,
                                              uint64_t imm);
void qemu_plugin_register_atexit_cb(qemu_plugin_id_t id, qemu_plugin_udata_cb_t cb, void *userdata);
void qemu_plugin_outs(const char *string);

__attribute__((visibility("default"))) int qemu_plugin_version = 1;

/* One counter for all threads: the programs counted run one thread. */
static uint64_t insns;

static void on_translate(qemu_plugin_id_t id, struct qemu_plugin_tb *tb) {
  (void)id;
  qemu_plugin_register_vcpu_tb_exec_inline(tb, QEMU_PLUGIN_INLINE_ADD_U64, &insns, qemu_plugin_tb_n_insns(tb));
}

static void print_total(qemu_plugin_id_t id, void *userdata) {
  (void)id;
  (void)userdata;
  char line[40];
  snprintf(line, sizeof line, "insns: %" PRIu64 "\n", insns);
  qemu_plugin_outs(line);
}

__attribute__((visibility("default"))) int qemu_plugin_install(qemu_plugin_id_t id, const qemu_info_t *info, int argc,
                                                               char **argv) {
  (void)info;
  (void)argc;
  (void)argv;
  qemu_plugin_register_vcpu_tb_trans_cb(id, on_translate);
  qemu_plugin_register_atexit_cb(id, print_total, NULL);
  return 0;
}
