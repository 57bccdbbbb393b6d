/* A GTK 3 drag source for the whole-program tests: a window of one colour that
 * starts a drag as soon as it is pressed, offering the first COUNT of
 * text/uri-list, text/plain, UTF8_STRING, STRING and TEXT, and prints "ready",
 * "drag started" and "drag ended" on stdout. Absolute paths are offered as
 * file URLs, anything else as given.
 *
 * Usage: e2e_gtkdragsource X Y WIDTH HEIGHT COUNT PATH-OR-URL...
 */
#include <gtk/gtk.h>

#include <stdio.h>
#include <stdlib.h>

static const char *const kTargets[] = {"text/uri-list", "text/plain", "UTF8_STRING", "STRING", "TEXT"};
enum { kUriList = 0 };

static gchar **uris;
static GtkTargetList *targets;
static gboolean shown;

static void say(const char *line)
{
    printf("%s\n", line);
    fflush(stdout);
}

static gboolean on_draw(GtkWidget *widget, cairo_t *cr, gpointer data)
{
    (void)widget;
    (void)data;
    cairo_set_source_rgb(cr, 0.25, 0.63, 0.25);
    cairo_paint(cr);
    if (!shown) {
        shown = TRUE;
        say("ready");
    }
    return TRUE;
}

static gboolean on_press(GtkWidget *widget, GdkEventButton *event, gpointer data)
{
    (void)data;
    gtk_drag_begin_with_coordinates(widget, targets, GDK_ACTION_COPY, (gint)event->button, (GdkEvent *)event,
                                    (gint)event->x, (gint)event->y);
    return TRUE;
}

static void on_drag_begin(GtkWidget *widget, GdkDragContext *context, gpointer data)
{
    (void)widget;
    (void)context;
    (void)data;
    say("drag started");
}

static void on_drag_end(GtkWidget *widget, GdkDragContext *context, gpointer data)
{
    (void)widget;
    (void)context;
    (void)data;
    say("drag ended");
}

static void on_drag_data_get(GtkWidget *widget, GdkDragContext *context, GtkSelectionData *selection, guint info,
                             guint time, gpointer data)
{
    (void)widget;
    (void)context;
    (void)time;
    (void)data;
    if (info == kUriList) {
        gtk_selection_data_set_uris(selection, uris);
    } else {
        gchar *text = g_strjoinv("\n", uris);
        gtk_selection_data_set_text(selection, text, -1);
        g_free(text);
    }
}

int main(int argc, char **argv)
{
    /* Our own X server only, and no accessibility bus to wait for. */
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    gtk_init(&argc, &argv);
    const int count = argc > 6 ? atoi(argv[5]) : 0;
    if (count < 1 || count > (int)G_N_ELEMENTS(kTargets)) {
        fprintf(stderr, "usage: e2e_gtkdragsource X Y WIDTH HEIGHT COUNT PATH-OR-URL...\n");
        return 2;
    }
    uris = g_new0(gchar *, (gsize)(argc - 5));
    for (int i = 6; i < argc; ++i)
        uris[i - 6] = g_path_is_absolute(argv[i]) ? g_filename_to_uri(argv[i], NULL, NULL) : g_strdup(argv[i]);
    targets = gtk_target_list_new(NULL, 0);
    for (int i = 0; i < count; ++i)
        gtk_target_list_add(targets, gdk_atom_intern_static_string(kTargets[i]), 0, (guint)i);

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_move(GTK_WINDOW(window), atoi(argv[1]), atoi(argv[2]));
    gtk_window_set_default_size(GTK_WINDOW(window), atoi(argv[3]), atoi(argv[4]));
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(window, "draw", G_CALLBACK(on_draw), NULL);
    g_signal_connect(window, "button-press-event", G_CALLBACK(on_press), NULL);
    g_signal_connect(window, "drag-begin", G_CALLBACK(on_drag_begin), NULL);
    g_signal_connect(window, "drag-end", G_CALLBACK(on_drag_end), NULL);
    g_signal_connect(window, "drag-data-get", G_CALLBACK(on_drag_data_get), NULL);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show(window);
    gtk_main();
    return 0;
}
