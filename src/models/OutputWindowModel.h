#pragma once
// The diagram window: a picture view that composes the sun path or shadow diagram with the
// horizon pictures, and a text view for the data table. It changes the diagram's time and the
// shadow scale, opens pictures and text files, saves the diagram (SVG or BMP) or the table, and
// prints either through the host.
#include <memory>
#include <string>
#include <vector>

#include "models/ComponentNames.h"
#include "models/TableWriter.h"
#include "platform/FormModel.h"
#include "platform/Picture.h"

namespace umbrix {

class Application;

class OutputWindowModel : public FormModel {
  public:
    explicit OutputWindowModel(Application& app);

    // Lines of the text view (RichEdit1): the data table.
    std::vector<std::string>& lines() { return lines_; }
    const std::vector<std::string>& lines() const { return lines_; }
    // The data table of the text view as values, for "Save as" tsv or csv.
    TableValues& tableValues() { return tableValues_; }

    // True while the picture view is meant; false for the text view.
    bool pictureView = false;
    // Scale of the shadow diagram, metres per pixel: 0.25, 0.5, 1, 2 or 4.
    double scale = 1.0;
    static constexpr double kMinScale = 0.25;
    static constexpr double kMaxScale = 4.0;

    // Client area of the window.
    static constexpr int kToolbarHeight = 29;
    int clientWidth = 600;
    int clientHeight = kToolbarHeight + 501;

    // Shows the picture view (true), composing the diagram anew, or the text view (false), and
    // enables the controls for it.
    void showDiagram(bool picture);
    // The picture the view shows (ImageSun): the composed diagram or an opened picture.
    const Picture& image() const { return image_; }
    // The diagram as last composed.
    const Picture& composedPicture() const { return composed_; }
    // The composed diagram with the shadow diagram's scale bar and time or the legend of the
    // horizon layers over the sun path diagram, as the desktop shows, prints and copies it
    // (saved SVG and BMP files keep the plain diagram).
    Picture annotatedDiagram() const;
    // What the desktop draws in the picture view: the annotated diagram, an opened picture as
    // it is, null while the text view is shown.
    std::shared_ptr<const Picture> screenPicture() const;

    // The time and increment controls: enabled in the diagram modes.
    void setDiagramControlsEnabled(bool enabled);
    // Sets the time control and its text without redrawing ("&New" does this before drawing).
    void setTimeMinutes(int minutes);
    int timeMinutes() const { return ctl(output_window::UpDown1).position; }
    // The time control moved by the user (clamped to 0 … 1440): redraws the sun position or
    // the shadows for that time and shows the diagram again.
    void changeTime(int minutes);
    // The up-down's arrows: one increment later (+1) or earlier (-1).
    void stepTime(int direction);

    void zoomIn();
    void zoomOut();
    // Presses one of the grouped diagram-mode buttons and checks its menu item:
    // 0 sun orbit, 1 reflected (short-wave) radiation, 2 thermal (long-wave) radiation.
    void chooseDiagramMode(int mode);

    // "&Open...": a picture (SVG, BMP) into the picture view, a text file into the text view.
    // False when the dialog was cancelled.
    bool open();
    // "&Save as...": the diagram as SVG or BMP (by the file's extension), or the text view's
    // lines. False when the dialog was cancelled.
    bool saveAs();
    // "&Print...": the picture view on one portrait page as wide as the page, the text view in
    // landscape. False when cancelled or when this front end cannot print (then the host shows
    // why).
    bool print();

    // The rectangle a picture of the given size takes on a page pageWidth wide: the full width
    // and the height in proportion (integer arithmetic).
    static Rect printArea(int pictureWidth, int pictureHeight, int pageWidth);

  protected:
    void onClick(const std::string& name) override;
    void onChange(const std::string& name) override;

  private:
    void timeChanged();
    void incrementChanged();
    void compose();
    void showPictureView(int width, int height);

    Application& app_;
    std::vector<std::string> lines_;
    TableValues tableValues_;
    Picture composed_;
    Picture image_;
    bool annotate_ = false;  // the composed diagram is shown, not an opened picture
};

}  // namespace umbrix
